#include "searches/IndexTicker.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

TEST(IndexTickerTest, EachSecondAddsTheSpeedUpToTheTotal) {
    IndexTicker ticker;
    QStringList texts;
    QObject::connect(&ticker, &IndexTicker::textChanged, [&](const QString &text) { texts << text; });
    ticker.start(70000, 30000);
    ticker.stop();  // the seconds are driven here by hand
    for (int second = 0; second < 4; ++second) ticker.tick();
    EXPECT_EQ(texts, QStringList({"Indexing words.  Words: 0 of 70000", "Indexing words. Words: 30000 of 70000",
                                  "Indexing words. Words: 60000 of 70000", "Indexing words. Words: 70000 of 70000",
                                  "Indexing words. Words: 70000 of 70000"}));
    EXPECT_EQ(ticker.count(), 70000);
}

TEST(IndexTickerTest, AStartBeginsAgainFromNothing) {
    IndexTicker ticker;
    ticker.start(100, 60);
    ticker.tick();
    EXPECT_EQ(ticker.count(), 60);
    ticker.start(500, 1000);
    EXPECT_TRUE(ticker.running());
    EXPECT_EQ(ticker.count(), 0);
    ticker.stop();
    EXPECT_FALSE(ticker.running());
}

}  // namespace
