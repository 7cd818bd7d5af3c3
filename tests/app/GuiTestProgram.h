#pragma once

#include <memory>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// The start of a GUI test program as the program itself starts: settings and
// desktop files in a folder of the process's own, the engine bound, the
// application object made and the offline protocol handler registered.
class GuiTestProgram {
public:
    GuiTestProgram(int &argc, char **argv);
    // False when the engine could not be bound (the reason is on standard error).
    bool ready() const { return ready_; }

private:
    QTemporaryDir home_;
    std::unique_ptr<QApplication> application_;
    bool ready_ = false;
};

// The main() of a GUI test program that runs one test class.
#define SITELARK_GUI_TEST_MAIN(TestClass)       \
    int main(int argc, char **argv) {           \
        GuiTestProgram program(argc, argv);     \
        if (!program.ready()) return 1;         \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
