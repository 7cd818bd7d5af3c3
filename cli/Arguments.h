#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace lark {

// A mistake in the command line, reported to the user as it stands.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string &text) : std::runtime_error(text) {}
};

// The words after a command's name: positional values and options, written
// "--name value", "--name=value" or, for switches, "--name". "--" ends the
// options.
class Arguments {
public:
    Arguments(const std::vector<std::string> &words, const std::set<std::string> &valueOptions,
              const std::set<std::string> &switches);

    size_t count() const { return positional_.size(); }
    const std::string &at(size_t index) const;
    // Exactly n positional values, or a usage error.
    void expectCount(size_t minimum, size_t maximum) const;
    // A positional value that numbers a record (a whole number from 1): the
    // error names it as "NAME must be a KIND number".
    uint32_t idAt(size_t index, const std::string &name, const std::string &kind) const;

    bool has(const std::string &option) const;
    std::optional<std::string> value(const std::string &option) const;
    // Every value given for an option that may be repeated.
    std::vector<std::string> values(const std::string &option) const;
    // An option's value as a whole number up to the maximum, or the fallback.
    unsigned long number(const std::string &option, unsigned long fallback, unsigned long maximum = UINT32_MAX) const;

private:
    std::vector<std::string> positional_;
    std::multimap<std::string, std::string> options_;
    std::set<std::string> switchesSeen_;
};

}  // namespace lark
