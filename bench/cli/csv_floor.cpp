// kalvitra-csv-floor < designs.csv > out.csv: the least work a row of a
// generated table of designs needs, as a yardstick for `kalvitra-cli --csv`
// with all five actions. It splits the row into its fields (quotes
// included), reads the 15 numbers with from_chars, does the nine square roots
// and the fifty-odd other operations of the calculations, and writes the 39
// fields and an empty error column, the 21 results with to_chars. No checks,
// no lenient reading, no two-decimal display: its output is not the tool's,
// only its cost is the one no implementation of the row can go below.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kStages = 9;
// The generator's columns: Text1, Text2, TXJS, D, PK1..PK9, H, M, Z, MD, dpxs.
constexpr std::size_t kInputColumns = 18;

class Output {
public:
    Output() { buffer_.reserve(2 * kChunk); }
    ~Output() { flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void text(std::string_view text) { buffer_.append(text); }
    void field(std::string_view text) {
        if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
            buffer_.append(text);
            buffer_ += ',';
            return;
        }
        buffer_ += '"';
        for (const char c : text) {
            if (c == '"') {
                buffer_ += '"';
            }
            buffer_ += c;
        }
        buffer_.append("\",");
    }
    void number(double value) {
        char digits[32];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        buffer_.append(digits, result.ptr);
        buffer_ += ',';
    }
    void endRow() {
        buffer_ += '\n';
        if (buffer_.size() >= kChunk) {
            flush();
        }
    }
    void flush() {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
        buffer_.clear();
    }

private:
    std::string buffer_;
};

// Splits one record from text at pos into fields (unquoted in place, quoted
// ones unescaped into scratch); false when the record is not complete yet.
bool splitRecord(std::string_view text, std::size_t& pos, std::vector<std::string>& fields) {
    std::size_t at = pos;
    std::size_t count = 0;
    for (;;) {
        std::string& field = fields[count < fields.size() ? count : fields.size() - 1];
        field.clear();
        if (at < text.size() && text[at] == '"') {
            for (++at;; ++at) {
                if (at + 1 >= text.size()) {
                    return false;
                }
                if (text[at] == '"') {
                    if (text[at + 1] != '"') {
                        ++at;
                        break;
                    }
                    ++at;
                }
                field += text[at];
            }
        } else {
            const std::size_t end = text.find_first_of(",\n", at);
            if (end == std::string_view::npos) {
                return false;
            }
            field.assign(text.substr(at, end - at));
            at = end;
        }
        ++count;
        if (at >= text.size()) {
            return false;
        }
        if (text[at++] == '\n') {
            pos = at;
            return true;
        }
    }
}

double number(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void calculateRow(const std::vector<std::string>& in, Output& out) {
    const double diameter = number(in[3]);
    double width[kStages];
    for (int k = 0; k < kStages; ++k) {
        width[k] = number(in[4 + static_cast<std::size_t>(k)]);
    }
    const double height = number(in[13]);
    const double centres = number(in[14]);
    const double limbs = number(in[15]);
    const double density = number(in[16]);
    const double stacking = number(in[17]);

    double thickness[kStages];
    double before = 0;
    for (int k = 0; k < kStages; ++k) {
        const double reach = std::sqrt(diameter * diameter - width[k] * width[k]);
        thickness[k] = k == 0 ? reach : reach / 2 - thickness[0] / 2 - before;
        before += k == 0 ? 0 : thickness[k];
        if (width[k] == 0) {
            thickness[k] = 0;
        }
    }
    double sides = 0;
    double stack = thickness[0];
    double volume = 0;
    for (int k = 1; k < kStages; ++k) {
        sides += width[k] * thickness[k];
        stack += 2 * thickness[k];
        volume += ((height + width[0] + width[k]) * (centres * (limbs - 1) + width[k]) -
                   (height + width[0] - width[k]) * (centres - width[k]) * (limbs - 1)) *
                  2 * thickness[k];
    }
    const double gross = (width[0] * thickness[0] + 2 * sides) / 100;
    const double weight = stacking * density * volume / 1000000;

    for (std::size_t i = 0; i < 3; ++i) {
        out.field(in[i]);
    }
    out.field(in[3]);
    out.field(in[13]);
    out.field(in[14]);
    out.field(in[15]);
    out.field(in[16]);
    out.field(in[17]);
    for (int k = 0; k < kStages; ++k) {
        out.field(in[4 + static_cast<std::size_t>(k)]);
    }
    for (int k = 0; k < kStages; ++k) {
        out.number(thickness[k]);
    }
    for (int k = 1; k < kStages; ++k) {
        out.number(thickness[k]);
    }
    out.number(gross);
    out.number(gross * stacking);
    out.number(stack);
    out.number(weight);
    out.endRow();
}

}  // namespace

int main() {
    std::vector<std::string> fields(kInputColumns + 1);
    std::string text;
    std::size_t pos = 0;
    bool header = true;
    Output out;
    char chunk[kChunk];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, stdin);
        text.erase(0, pos);
        pos = 0;
        text.append(chunk, got);
        if (got == 0 && !text.empty() && text.back() != '\n') {
            text += '\n';
        }
        while (splitRecord(text, pos, fields)) {
            if (header) {
                out.text(
                    "Text1,Text2,TXJS,D,H,M,Z,MD,dpxs,PK1,PK2,PK3,PK4,PK5,PK6,PK7,PK8,PK9,"
                    "jh1,jh2,jh3,jh4,jh5,jh6,jh7,jh8,jh9,jh22,jh32,jh42,jh52,jh62,jh72,"
                    "jh82,jh92,txmj,txjmj,dh,txz,error\n");
                header = false;
                continue;
            }
            calculateRow(fields, out);
        }
        if (got == 0) {
            break;
        }
    }
    out.flush();
    return std::fflush(stdout) == 0 ? 0 : 2;
}
