#pragma once

#include <cstdint>
#include <limits>

#include <QString>

// What a search of the stored files asks for, in the order the engine takes
// it: how many results at most, the words of the bodies, the crawl states,
// the address and title patterns, the size bounds, the completion and
// modification date ranges and the file type. The defaults find every file.
struct SearchCriteria {
    // The crawl states a search returns, as bits.
    enum States : int16_t { Queued = 1, WithErrors = 2, WithoutErrors = 4, AllStates = 7 };
    static constexpr int32_t kUnlimited = -1;
    static constexpr int32_t kNoMaximumSize = std::numeric_limits<int32_t>::max();

    int32_t maxResults = kUnlimited;
    QString bodyText;  // a query over the words of the bodies; empty: none
    int16_t states = AllStates;
    QString addressPattern;
    QString titlePattern;  // a query over the words of the titles; empty: none
    int32_t minSize = 0;
    int32_t maxSize = kNoMaximumSize;
    // Engine dates (days since 30 December 1899); both ends 0: no range.
    double doneFrom = 0;
    double doneTo = 0;
    double modifiedFrom = 0;
    double modifiedTo = 0;
    int32_t type = 0;  // the resource type (ItemRow::FileType); 0: any

    // The default criteria, with only the states given.
    static SearchCriteria ofStates(int16_t states);

    bool operator==(const SearchCriteria &other) const = default;
};

// The address pattern a user's text stands for when wildcards are added for
// them: a text that holds a "*" already, or none, stays as it is; an http or
// https address becomes scheme + "://*" + host (without a leading "www.") +
// its port unless 80, 21 or 443 + path + "*", so that it finds the site's
// addresses below the path with or without "www."; any other text gets "*"
// on both sides.
QString withWildcards(const QString &address);
