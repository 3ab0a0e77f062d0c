// Any bytes as the sheet that `kalvitra-cli section` draws. The command ends
// in one of its three statuses. A drawing is well-formed text: valid UTF-8
// with no control character that XML cannot carry, every text closed, no
// transform, and one packet for stage 1 and two for every later stage it
// lists. Otherwise there is no drawing and one line says why. The same bytes
// go to `section --format dxf` and `cutlist`: a DXF drawing is ASCII pairs of
// a group code and its value, finite where the code carries a number,
// ending in EOF (the product's own words in its title block may read "inf");
// a cut list the CSV header and rows of ten fields with finite numbers.
// Warnings about fields read leniently may come before any of them, a line
// each.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "design_commands.h"
#include "fuzz_support.h"
#include "kalvitra/text/utf8.h"

namespace {

using kalvitra::fuzz::require;

std::size_t countOf(std::string_view text, std::string_view piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

void checkDrawing(std::string_view svg, std::string_view input) {
    require(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "),
            "the drawing does not start as SVG", svg);
    require(svg.ends_with("</svg>\n"), "the drawing does not end with </svg>", svg);
    require(kalvitra::isValidUtf8(svg), "the drawing is not valid UTF-8", input);
    for (const char c : svg) {
        // XML 1.0 carries tab, line feed and carriage return, and no other
        // control character.
        require(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r',
                "a control character in the drawing", input);
    }
    // Numbers are written by the default writer, which refuses NaN and
    // infinities outright; tags (not the texts between them) carry no
    // transform.
    for (std::size_t open = svg.find('<'); open != std::string_view::npos;
         open = svg.find('<', open + 1)) {
        const std::string_view tag = svg.substr(open, svg.find('>', open) - open);
        require(tag.find("transform") == std::string_view::npos, "a transform", tag);
        require(tag.find('<', 1) == std::string_view::npos, "a tag inside a tag", tag);
    }
    require(countOf(svg, "<text") == countOf(svg, "</text>"), "an unclosed text", svg);
    // Stage k has one packet for k = 1 and two after; the table lists each.
    const std::size_t stages = countOf(svg, "class=\"width\"");
    require(stages >= 1 && stages <= 9, "no stage or too many in the table", svg);
    require(countOf(svg, "class=\"packet ") == 2 * stages - 1,
            "the packets do not match the stages listed", svg);
}

// One of the three statuses; on failure no output and one line saying why.
// What a command said besides its warnings, which come first, a line each.
std::string_view withoutWarnings(std::string_view diagnostics) {
    while (diagnostics.starts_with("warning: ") &&
           diagnostics.find('\n') != std::string_view::npos) {
        diagnostics.remove_prefix(diagnostics.find('\n') + 1);
    }
    return diagnostics;
}

bool succeeded(int status, const std::string& output, const std::string& diagnostics,
               std::string_view input) {
    if (status != 0) {
        const std::string_view refusal = withoutWarnings(diagnostics);
        require(status == 1 || status == 2, "an unknown exit status", input);
        require(output.empty(), "a refused sheet still gave output", input);
        require(!refusal.empty() && refusal.find('\n') == refusal.size() - 1,
                "the refusal is not one line", diagnostics);
    }
    return status == 0;
}

// A DXF drawing is pairs of lines, a group code and its value. Codes 10 to 99
// carry numbers, which must read as finite; the texts (codes below 10) are
// the sheet's own words and may hold "inf" or "nan" as any other letters.
void checkDxfPairs(std::string_view dxf) {
    std::size_t at = 0;
    while (at < dxf.size()) {
        const std::size_t codeEnd = dxf.find('\n', at);
        const std::size_t valueEnd = dxf.find('\n', codeEnd + 1);
        require(codeEnd != std::string_view::npos && valueEnd != std::string_view::npos,
                "a group code without its value", dxf.substr(at));
        const std::string code(dxf.substr(at, codeEnd - at));
        const std::string value(dxf.substr(codeEnd + 1, valueEnd - codeEnd - 1));
        char* end = nullptr;
        const long number = std::strtol(code.c_str(), &end, 10);
        require(*end == '\0' && !code.empty(), "a group code that is not a number", code);
        if (number >= 10 && number < 100) {
            const double read = std::strtod(value.c_str(), &end);
            require(*end == '\0' && !value.empty() && std::isfinite(read), "a number out of range",
                    value);
        }
        at = valueEnd + 1;
    }
}

void checkWorkshop(std::string_view input) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"section", "--format", "dxf", "--lang", "zh"}, {"cutlist"}}) {
        kalvitra::cli::StringSource source(input);
        std::string output;
        std::string diagnostics;
        const int status = kalvitra::cli::runDesignCommand(
            args.front(), {args.begin() + 1, args.end()}, source, output, diagnostics);
        if (!succeeded(status, output, diagnostics, input)) {
            continue;
        }
        for (const char c : output) {
            require(c == '\n' || (c >= 0x20 && c < 0x7F), "not printable ASCII", output);
        }
        if (args.front() == "section") {
            checkDxfPairs(output);
            require(output.ends_with("  0\nEOF\n"), "the drawing does not end in EOF", output);
            continue;
        }
        require(output.find("nan") == std::string::npos && output.find("inf") == std::string::npos,
                "a number out of range", output);
        require(
            output.starts_with("step,piece,width,short,long,per_layer,stack,sheets,pieces,mass\n"),
            "no header", output);
        for (std::size_t at = 0; at < output.size(); at = output.find('\n', at) + 1) {
            const std::string_view row(output.data() + at, output.find('\n', at) - at);
            require(countOf(row, ",") == 9, "a row without ten fields", row);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    kalvitra::cli::StringSource source(input);
    std::string output;
    std::string diagnostics;
    const int status = kalvitra::cli::runDesignCommand("section", {}, source, output, diagnostics);
    if (succeeded(status, output, diagnostics, input)) {
        require(withoutWarnings(diagnostics).empty(), "a drawing came with a message", diagnostics);
        checkDrawing(output, input);
    }
    checkWorkshop(input);
    return 0;
}
