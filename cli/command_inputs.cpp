#include "command_inputs.h"

#include <stdexcept>

#include "batch.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/text/utf8.h"
#include "platform.h"

namespace kalvitra::cli {

namespace {

// The option or field of an input with its text, or nothing when the
// command does not take that input.
std::string sourceOf(DesignInput input, std::span<const InputSource> sources) {
    for (const InputSource& source : sources) {
        if (source.input != input || source.name.empty()) {
            continue;
        }
        std::string named(source.name);
        if (source.text != nullptr) {
            named += " " + quoteForMessage(*source.text);
        }
        return named;
    }
    return "";
}

}  // namespace

std::string describeRefusal(const DesignError& error, std::span<const InputSource> sources) {
    std::string named = sourceOf(error.input(), sources);
    if (error.also()) {
        const std::string also = sourceOf(*error.also(), sources);
        named += named.empty() || also.empty() ? also : ", " + also;
    }
    return named.empty() ? error.what() : named + ": " + error.what();
}

OptionText inputOption(DesignInput input, std::string defaultText) {
    return {definitionOf(input).option, std::move(defaultText)};
}

CLI::Option* addInputOption(CLI::App& app, DesignInput input, OptionText& option,
                            const std::string& help) {
    return app.add_option(std::string(option.name), option.text, help)
        ->option_text(std::string(definitionOf(input).symbol));
}

std::vector<InputSource> sheetSources() {
    std::vector<InputSource> sources = {{DesignInput::Widths, ""}};
    for (const InputDefinition& entry : inputCatalogue()) {
        if (entry.field) {
            sources.push_back({entry.input, fieldName(*entry.field)});
        }
    }
    return sources;
}

std::optional<Sheet> calculatedSheet(ByteSource& input, std::span<const Action> actions,
                                     std::span<const Action> readBy, bool strict,
                                     std::string& diagnostics) {
    Sheet sheet;
    if (const std::optional<SheetTextError> problem = readSheetLines(readAll(input), sheet)) {
        throw Refusal{problem->describe()};
    }
    if (reportLenientReadings(sheet, readBy, strict, 0, diagnostics)) {
        return std::nullopt;
    }
    try {
        for (const Action action : actions) {
            runAction(action, sheet);
        }
    } catch (const CalcError& error) {
        diagnostics += describeCalcError(error) + "\n";
        return std::nullopt;
    }
    return sheet;
}

drawing::Language readLanguage(const OptionText& option) {
    if (const std::optional<drawing::Language> language = drawing::languageByCode(option.text)) {
        return *language;
    }
    throw Refusal{std::string(option.name) + " " + quoteForMessage(option.text) +
                  ": the language must be en (English) or zh (Chinese)"};
}

void addSignatureOptions(CLI::App& app, SignatureOptions& signatures) {
    addInputOption(app, DesignInput::Designer, signatures.designer,
                   "Designer's name for the title block");
    addInputOption(app, DesignInput::Checker, signatures.checker,
                   "Checker's name for the title block");
    signatures.dateOption = addInputOption(app, DesignInput::Date, signatures.date,
                                           "Date of the title block (default: today)");
}

drawing::Signatures readSignatures(const SignatureOptions& signatures) {
    const InputSource sources[] = {
        optionSource(DesignInput::Designer, signatures.designer),
        optionSource(DesignInput::Checker, signatures.checker),
        optionSource(DesignInput::Date, signatures.date),
    };
    ask(
        [&] {
            drawing::checkTitleText(DesignInput::Designer, signatures.designer.text);
            drawing::checkTitleText(DesignInput::Checker, signatures.checker.text);
            if (*signatures.dateOption) {
                drawing::checkDate(signatures.date.text);
            }
        },
        sources);
    if (*signatures.dateOption) {
        return {signatures.designer.text, signatures.checker.text, signatures.date.text};
    }
    // No option gave it: SOURCE_DATE_EPOCH names itself.
    return {signatures.designer.text, signatures.checker.text,
            ask([] { return drawing::todaysDrawingDate(); }, {})};
}

std::string readOptionFile(const OptionText& option, std::size_t maxBytes) {
    try {
        return readFileBytes(option.text, maxBytes);
    } catch (const std::runtime_error& error) {
        throw Refusal{std::string(option.name) + " " + quoteForMessage(option.text) + ": " +
                      error.what()};
    }
}

}  // namespace kalvitra::cli
