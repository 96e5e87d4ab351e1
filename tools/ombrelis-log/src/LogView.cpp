#include <cstdio>
#include <cstdlib>
#include <ombrelis/logtool/LogView.h>

namespace ombrelis::logtool {

engine::MesureRec LogView::record(std::size_t number) const {
    const std::size_t offset = (number - 1) * engine::kRecordSize;
    return engine::decode(std::span<const std::uint8_t, engine::kRecordSize>(bytes_.data() + offset,
                                                                             engine::kRecordSize));
}

std::string printableHeure(const std::array<char, 8>& heure) {
    std::string text;
    for (const char c : heure) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            text.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return text;
}

std::string voltsText(std::int32_t counts) {
    const std::int64_t magnitude = std::llabs(static_cast<long long>(counts));
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%03lld", counts < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 1000),
                  static_cast<long long>(magnitude % 1000));
    return text;
}

} // namespace ombrelis::logtool
