#include <charconv>
#include <ombrelis/logtool/LogView.h>

namespace ombrelis::logtool {

engine::MesureRec LogView::record(std::size_t number) const {
    const std::size_t offset = (number - 1) * engine::kRecordSize;
    return engine::decode(std::span<const std::uint8_t, engine::kRecordSize>(bytes_.data() + offset,
                                                                             engine::kRecordSize));
}

// Without snprintf: csv writes one Heure per record, and a damaged log is mostly escapes.
char* putHeure(char* out, const std::array<char, 8>& heure, bool csvField) {
    bool quoted = false;
    for (const char c : heure) {
        quoted = quoted || (csvField && (c == ',' || c == '"'));
    }
    if (quoted) {
        *out++ = '"';
    }
    for (const char c : heure) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            *out++ = c;
            if (quoted && c == '"') {
                *out++ = '"';
            }
        } else {
            *out++ = '\\';
            *out++ = 'x';
            *out++ = "0123456789ABCDEF"[byte >> 4];
            *out++ = "0123456789ABCDEF"[byte & 0xF];
        }
    }
    if (quoted) {
        *out++ = '"';
    }
    return out;
}

std::string printableHeure(const std::array<char, 8>& heure) {
    char text[32];
    return std::string(text, putHeure(text, heure, false));
}

char* putVolts(char* out, std::int32_t counts) {
    const std::int64_t magnitude = counts < 0 ? -static_cast<std::int64_t>(counts) : counts;
    if (counts < 0) {
        *out++ = '-';
    }
    out = std::to_chars(out, out + 12, magnitude / 1000).ptr;
    const auto thousandths = static_cast<int>(magnitude % 1000);
    *out++ = '.';
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
