#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "command_options.h"
#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/sheet.h"

// What the commands read besides the numbers of their options (a sheet on
// standard input, files, the language of a drawing), and how a refusal of the
// core names the input as the user gave it.

namespace kalvitra::cli {

// Where an input of the core came from: an option with the text given for
// it (or its default), or a field of the sheet, which has no text of its
// own here. An input whose messages name their fields themselves (the stage
// widths: "stage 2 (PK2): ...") has no name.
struct InputSource {
    DesignInput input;
    std::string_view name;              // "--grid", "H", or empty
    const std::string* text = nullptr;  // as typed, for an option
};

inline InputSource optionSource(DesignInput input, const OptionText& option) {
    return {input, option.name, &option.text};
}

// The option of an input, named as the catalogue names it, with the text it
// has when not given.
OptionText inputOption(DesignInput input, std::string defaultText = "");

// Declares the option on app, bound to option.text; its value is shown as the
// catalogue's symbol ("--grid G"), its help is the command's.
CLI::Option* addInputOption(CLI::App& app, DesignInput input, OptionText& option,
                            const std::string& help);

// The fields of a sheet that the workshop reads, as the catalogue keeps
// them; the widths name their fields themselves.
std::vector<InputSource> sheetSources();

// The one line that refuses an input: its source first, then the core's
// words. (Grid, "--grid", "0") -> `--grid "0": the grid must be ...`;
// (WindowHeight, "H") -> "H: the window height must be ..."; an input no
// source names gets the core's words alone.
std::string describeRefusal(const DesignError& error, std::span<const InputSource> sources);

// Runs a question of the core; a refusal becomes the command's Refusal,
// naming the input by its source.
template <typename Question>
auto ask(Question question, std::span<const InputSource> sources) {
    try {
        return question();
    } catch (const DesignError& error) {
        throw Refusal{describeRefusal(error, sources)};
    }
}

// A --stack-round given on the command line must be above 0: 0 is the
// core's "no rounding", which a user who typed the option does not mean.
// Called inside ask, where the refusal names the option.
inline void checkGivenStackRound(bool given, double stackRound) {
    if (given) {
        checkPositive(DesignInput::StackRound, stackRound);
    }
}

// The sheet on the input after the actions given. A sheet that cannot be
// read is refused. Fields that the actions in readBy read leniently are
// warned about in diagnostics; with strict they are errors, and there is no
// sheet (the command exits 1). When an action stops, its "error: KIND:
// MESSAGE" line goes to diagnostics and there is no sheet either.
std::optional<Sheet> calculatedSheet(ByteSource& input, std::span<const Action> actions,
                                     std::span<const Action> readBy, bool strict,
                                     std::string& diagnostics);

// The flag that turns the warnings of calculatedSheet into errors.
inline constexpr std::string_view kStrictOption = "--strict";

// The words of a drawing: --lang en (the default) or zh.
inline constexpr std::string_view kLanguageOption = "--lang";

// The words of a table: --header en (the default) or zh.
inline constexpr std::string_view kHeaderOption = "--header";

// --lang or --header: "en" or "zh". Throws Refusal for anything else.
drawing::Language readLanguage(const OptionText& option);

// The title block's signatures, as given: --designer NAME, --checker NAME,
// --date YYYY-MM-DD.
struct SignatureOptions {
    OptionText designer = inputOption(DesignInput::Designer);
    OptionText checker = inputOption(DesignInput::Checker);
    OptionText date = inputOption(DesignInput::Date);
    CLI::Option* dateOption = nullptr;
};

// Declares the three options on app, bound to signatures.
void addSignatureOptions(CLI::App& app, SignatureOptions& signatures);

// The signatures given, each a line of text and the date a day (the core's
// checkTitleText and checkDate), refused naming the option; without --date
// the day of SOURCE_DATE_EPOCH, else today's.
drawing::Signatures readSignatures(const SignatureOptions& signatures);

// What the help of a drawing's command says of its title block.
inline constexpr std::string_view kTitleBlockHelp =
    R"(TITLE BLOCK: under the drawing, at its right: the product model and the job number (the
sheet's Text1 and Text2), --designer and --checker, the date (--date; without it the day of
SOURCE_DATE_EPOCH in UTC when that is set, as reproducible builds set it, else today's local
date), the scale 1:1 and the units, mm. A name is one line without control characters, at
most 200 bytes; the date a day from 1900-01-01 on, as 2026-12-08.)";

// The bytes of the file an option names, at most maxBytes. Throws Refusal
// naming the option and why it cannot be read.
std::string readOptionFile(const OptionText& option, std::size_t maxBytes);

}  // namespace kalvitra::cli
