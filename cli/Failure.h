#pragma once

#include <iostream>
#include <stdexcept>
#include <string>

namespace lark {

// A failure that lark reports as it stands, with exit status 1.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs a command's body and turns a Failure into "lark COMMAND: text" and 1.
template <class Body>
int reportingFailures(const std::string &command, Body body) {
    try {
        return body();
    } catch (const Failure &f) {
        std::cerr << "lark " << command << ": " << f.what() << '\n';
        return 1;
    }
}

}  // namespace lark
