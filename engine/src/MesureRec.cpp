#include <ombrelis/engine/MesureRec.h>

namespace ombrelis::engine {

std::array<char, 8> heureFromText(std::string_view text) {
    std::array<char, 8> heure;
    heure.fill(' ');
    for (std::size_t i = 0; i < heure.size() && i < text.size(); ++i) {
        heure[i] = text[i];
    }
    return heure;
}

// Field by field, never as one block: in memory TempsMs sits on a 4-byte boundary, on disk at 10.
RecordBytes encode(const MesureRec& record) {
    RecordBytes bytes{};
    const auto valeur = static_cast<std::uint16_t>(record.Valeur);
    bytes[0] = static_cast<std::uint8_t>(valeur & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(valeur >> 8);
    for (std::size_t i = 0; i < record.Heure.size(); ++i) {
        bytes[2 + i] = static_cast<std::uint8_t>(record.Heure[i]);
    }
    const auto temps = static_cast<std::uint32_t>(record.TempsMs);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[10 + i] = static_cast<std::uint8_t>((temps >> (8 * i)) & 0xFF);
    }
    return bytes;
}

MesureRec decode(std::span<const std::uint8_t, kRecordSize> bytes) {
    MesureRec record;
    record.Valeur =
        static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
    for (std::size_t i = 0; i < record.Heure.size(); ++i) {
        record.Heure[i] = static_cast<char>(bytes[2 + i]);
    }
    std::uint32_t temps = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        temps |= static_cast<std::uint32_t>(bytes[10 + i]) << (8 * i);
    }
    record.TempsMs = static_cast<std::int32_t>(temps);
    return record;
}

} // namespace ombrelis::engine
