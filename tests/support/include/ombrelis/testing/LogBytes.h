#pragma once

#include <cstdint>
#include <cstdio>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/logtool/PlotTrace.h>
#include <string_view>
#include <vector>

namespace ombrelis::testing {

inline engine::MesureRec rec(std::int16_t valeur, std::string_view heure, std::int32_t temps) {
    engine::MesureRec r;
    r.Valeur = valeur;
    r.Heure = engine::heureFromText(heure);
    r.TempsMs = temps;
    return r;
}

/// The bytes of a log file holding `records`, then `extra` bytes of a record cut short.
inline std::vector<std::uint8_t> logBytes(const std::vector<engine::MesureRec>& records,
                                          std::size_t extra = 0) {
    std::vector<std::uint8_t> bytes;
    for (const engine::MesureRec& r : records) {
        const engine::RecordBytes b = engine::encode(r);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    bytes.resize(bytes.size() + extra, 0x55);
    return bytes;
}

/// A run at 100 ms: values rising by 7 from 1024, one second per ten records.
inline std::vector<engine::MesureRec> soundRun(int count) {
    std::vector<engine::MesureRec> records;
    for (int i = 0; i < count; ++i) {
        char heure[16];
        std::snprintf(heure, sizeof heure, "14:05:%02d", 9 + i / 10 % 50);
        records.push_back(rec(static_cast<std::int16_t>(1024 + 7 * i), heure, 100 * i));
    }
    return records;
}

/// Bytes that are no log at all, the same in every run of the tests.
inline std::vector<std::uint8_t> garbage(std::size_t size, std::uint32_t seed = 12345) {
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

/// The trace of a log held in `bytes`, gathered as `plot` gathers it.
inline logtool::PlotTrace traceOf(const std::vector<std::uint8_t>& bytes) {
    logtool::PlotTrace trace;
    trace.add(logtool::LogView(bytes));
    return trace;
}

} // namespace ombrelis::testing
