// The input catalogue against the constants and tables that use it: every
// input has its one entry, the names a file, the batch tool and a sheet give
// an input are each unique, and every numeric range refuses what lies just
// outside it and takes what lies just inside, in the catalogue's own words.
#include "kalvitra/inputs/catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "kalvitra/design/evaluation.h"

namespace kalvitra {
namespace {

TEST(InputCatalogue, OneEntryPerInputWithUniqueNames) {
    std::set<std::string_view> keys, options;
    std::set<Field> fields;
    const auto catalogue = inputCatalogue();
    ASSERT_EQ(catalogue.size(), static_cast<std::size_t>(DesignInput::VoltsPerTurnFactor) + 1);
    for (std::size_t k = 0; k < catalogue.size(); ++k) {
        const InputDefinition& entry = catalogue[k];
        SCOPED_TRACE(std::string(entry.noun));
        EXPECT_EQ(static_cast<std::size_t>(entry.input), k);
        EXPECT_EQ(&definitionOf(entry.input), &entry);
        EXPECT_FALSE(entry.noun.empty());
        if (!entry.key.empty()) {
            EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
            EXPECT_EQ(findInputByKey(entry.key), &entry);
        }
        if (!entry.option.empty()) {
            EXPECT_TRUE(entry.option.starts_with("--")) << entry.option;
            EXPECT_TRUE(options.insert(entry.option).second) << entry.option;
            EXPECT_FALSE(entry.symbol.empty());
        }
        if (entry.field) {
            EXPECT_TRUE(fields.insert(*entry.field).second);
            EXPECT_EQ(findInputByField(*entry.field), &entry);
        }
    }
}

TEST(InputCatalogue, RangesAreTheCoreConstants) {
    for (const DesignInput length :
         {DesignInput::Diameter, DesignInput::WindowHeight, DesignInput::CentreDistance}) {
        const InputRange& range = definitionOf(length).range;
        EXPECT_EQ(range.kind, RangeKind::Between);
        EXPECT_EQ(range.low, kMinDiameter);
        EXPECT_EQ(range.high, kMaxDiameter);
    }
    EXPECT_EQ(definitionOf(DesignInput::Stages).range.high, kStageCount);
    EXPECT_EQ(definitionOf(DesignInput::Limbs).range.high, kMaxLimbs);
}

// Every number of the designer's inputs is an input with a file key, and
// every input with a key and one number is one of them.
TEST(InputCatalogue, NumberInputsAreTheNumericEntriesWithKeys) {
    std::set<DesignInput> numbers;
    for (const core_design::NumberInput& number : core_design::numberInputs()) {
        numbers.insert(number.input);
        EXPECT_FALSE(definitionOf(number.input).key.empty());
        EXPECT_NE(definitionOf(number.input).range.kind, RangeKind::Listed);
    }
    // The numbers a design may leave out are kept apart.
    for (const core_design::OptionalNumberInput& number : core_design::optionalNumberInputs()) {
        numbers.insert(number.input);
    }
    const std::set<DesignInput> notYetInTheDesigner = {};
    for (const InputDefinition& entry : inputCatalogue()) {
        if (!entry.key.empty() && entry.range.kind != RangeKind::Listed &&
            !notYetInTheDesigner.contains(entry.input)) {
            EXPECT_TRUE(numbers.contains(entry.input)) << entry.key;
        }
    }
}

// What lies just inside and just outside a range of each kind.
struct Edge {
    double inside;
    double outside;
};

Edge edgeOf(const InputRange& range) {
    switch (range.kind) {
        case RangeKind::Positive:
            return {1e-300, 0};
        case RangeKind::Between:
            return {range.high, range.high * 10};
        case RangeKind::Whole:
            return {range.low, range.low + 0.5};
        case RangeKind::Fraction:
            return {1, std::nextafter(1.0, 2.0)};
        case RangeKind::NoneOrPositive:
            return {0, -1e-300};
        case RangeKind::NotNegative:
            return {0, -1e-300};
        case RangeKind::Listed:
            break;
    }
    return {};
}

TEST(InputCatalogue, EachRangeTakesItsEdgeAndRefusesBeyondIt) {
    for (const InputDefinition& entry : inputCatalogue()) {
        if (entry.range.kind == RangeKind::Listed) {
            EXPECT_THROW(checkInput(entry.input, 1), std::logic_error);
            continue;
        }
        SCOPED_TRACE(std::string(entry.noun));
        const Edge edge = edgeOf(entry.range);
        EXPECT_NO_THROW(checkInput(entry.input, edge.inside));
        for (const double bad : {edge.outside, std::nan(""), -HUGE_VAL}) {
            try {
                checkInput(entry.input, bad);
                ADD_FAILURE() << bad << " was taken";
            } catch (const DesignError& error) {
                EXPECT_EQ(error.input(), entry.input);
                EXPECT_EQ(error.rule(), DesignRule::Range);
                EXPECT_TRUE(std::string(error.what())
                                .starts_with("the " + std::string(entry.noun) + " must "))
                    << error.what();
            }
        }
    }
}

}  // namespace
}  // namespace kalvitra
