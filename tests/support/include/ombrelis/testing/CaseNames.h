#pragma once

#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace ombrelis::testing {

/// Names each case of a table after its `name` field.
struct NamedAfterName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

/// Names each case of a table after its printed value (PrintTo), in the letters, digits and
/// underscores a test name may hold. A quoted text, such as a field's content, is spelled out
/// sign by sign ("2.5E2" gives 2dot5E2, "- 5" minus_5, "" empty); in a description each run of
/// other characters becomes one underscore.
struct NamedAfterValue {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        const std::string printed = ::testing::PrintToString(info.param);
        std::string name;
        for (const char c : printed) {
            if (std::isalnum(static_cast<unsigned char>(c))) {
                name += c;
            } else if (printed.starts_with('"')) {
                name += spelled(c);
            } else if (!name.empty() && name.back() != '_') {
                name += '_';
            }
        }
        return name.empty() ? "empty" : name;
    }

    static std::string spelled(char sign) {
        constexpr std::pair<char, const char*> kWords[] = {
            {'.', "dot"}, {',', "comma"}, {'-', "minus"}, {'+', "plus"}, {'&', "amp"}, {'"', ""}};
        for (const auto& [c, word] : kWords) {
            if (c == sign) {
                return word;
            }
        }
        return "_";
    }
};

} // namespace ombrelis::testing
