#include <charconv>
#include <cstring>
#include <ombrelis/logtool/LogView.h>

namespace ombrelis::logtool {

engine::MesureRec LogView::record(std::size_t number) const {
    const std::size_t offset = (number - 1) * engine::kRecordSize;
    return engine::decode(std::span<const std::uint8_t, engine::kRecordSize>(bytes_.data() + offset,
                                                                             engine::kRecordSize));
}

namespace {

/// How each byte of Heure is shown: itself, or \xNN. One four-byte copy serves every byte,
/// without a branch that random bytes would keep mispredicting.
struct ShownByte {
    std::array<char, 4> text{};
    std::uint8_t length = 0;
};

constexpr std::array<ShownByte, 256> kShown = [] {
    std::array<ShownByte, 256> shown{};
    for (int byte = 0; byte < 256; ++byte) {
        ShownByte& s = shown[static_cast<std::size_t>(byte)];
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            s.text[0] = static_cast<char>(byte);
            s.length = 1;
        } else {
            s.text = {'\\', 'x', "0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 0xF]};
            s.length = 4;
        }
    }
    return shown;
}();

} // namespace

// Without snprintf: csv writes one Heure per record, and a damaged log is mostly escapes.
char* putHeure(char* out, const std::array<char, 8>& heure, bool csvField, char separator) {
    bool quoted = false;
    for (const char c : heure) {
        quoted = quoted || (csvField && (c == separator || c == '"'));
    }
    if (quoted) {
        *out++ = '"';
    }
    // A field that begins like a formula would be run by a spreadsheet: such a first byte is
    // escaped too. A sound Heure begins with a digit, so only a damaged one is concerned.
    std::size_t from = 0;
    if (const char first = heure[0];
        csvField && (first == '=' || first == '+' || first == '-' || first == '@')) {
        const auto byte = static_cast<unsigned char>(first);
        *out++ = '\\';
        *out++ = 'x';
        *out++ = "0123456789ABCDEF"[byte >> 4];
        *out++ = "0123456789ABCDEF"[byte & 0xF];
        from = 1;
    }
    for (std::size_t i = from; i < heure.size(); ++i) {
        const char c = heure[i];
        const ShownByte& shown = kShown[static_cast<unsigned char>(c)];
        std::memcpy(out, shown.text.data(), shown.text.size());
        out += shown.length;
        if (quoted && c == '"') {
            *out++ = '"';
        }
    }
    if (quoted) {
        *out++ = '"';
    }
    return out;
}

std::string printableHeure(const std::array<char, 8>& heure) {
    char text[kHeureRoom];
    return std::string(text, putHeure(text, heure, false));
}

char* putVolts(char* out, std::int32_t counts, char decimalMark) {
    const std::int64_t magnitude = counts < 0 ? -static_cast<std::int64_t>(counts) : counts;
    if (counts < 0) {
        *out++ = '-';
    }
    out = std::to_chars(out, out + 12, magnitude / 1000).ptr;
    const auto thousandths = static_cast<int>(magnitude % 1000);
    *out++ = decimalMark;
    *out++ = static_cast<char>('0' + thousandths / 100);
    *out++ = static_cast<char>('0' + thousandths / 10 % 10);
    *out++ = static_cast<char>('0' + thousandths % 10);
    return out;
}

std::string voltsText(std::int32_t counts) {
    char text[16];
    return std::string(text, putVolts(text, counts));
}

} // namespace ombrelis::logtool
