// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// zindra_soundfont_cut SOURCE OUTPUT: writes a SoundFont that holds only the
// presets the game plays (src/game/board.h), taken unchanged from SOURCE, a
// General MIDI SoundFont 2 file. The synthesizer reads a SoundFont's whole
// preset table into memory whatever it plays: a few hundred kilobytes of file
// become megabytes of zones. Then it renders the game's sounds from both files
// and fails, leaving no OUTPUT, unless they come out sample for sample alike.
#include "game/board.h"
#include "platform/sound/synthesizer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t u16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t u32(const std::uint8_t* p)
{
    return u16(p) | static_cast<std::uint32_t>(u16(p + 2)) << 16;
}
void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v);
    put16(p + 2, v >> 16);
}

// The preset table's nine lists, each of fixed-size records ending in a
// terminal one (SoundFont 2.04, section 7).
constexpr const char* kLists[] = { "phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr" };
constexpr std::size_t kRecordSize[] = { 38, 4, 10, 4, 22, 4, 10, 4, 46 };
enum List { Phdr, Pbag, Pmod, Pgen, Inst, Ibag, Imod, Igen, Shdr };
constexpr std::uint16_t kGenInstrument = 41;
constexpr std::uint16_t kGenSampleId = 53;
constexpr std::size_t kSamplePadding = 46; // zero points after every sample

struct SoundFont {
    Bytes info; // the INFO list's body, kept as it is
    Bytes smpl, sm24;
    std::map<std::string, Bytes> lists;

    std::size_t count(List list) const
    {
        const auto found = lists.find(kLists[list]);
        return found == lists.end() ? 0 : found->second.size() / kRecordSize[list];
    }
    const std::uint8_t* record(List list, std::size_t i) const
    {
        return lists.at(kLists[list]).data() + i * kRecordSize[list];
    }
    std::uint8_t* append(List list, const std::uint8_t* from)
    {
        Bytes& bytes = lists[kLists[list]];
        bytes.insert(bytes.end(), from, from + kRecordSize[list]);
        return bytes.data() + bytes.size() - kRecordSize[list];
    }
};

// Walks the chunks of one RIFF level, handing each id and body to visit.
template <class Visit> bool chunks(const std::uint8_t* p, const std::uint8_t* end, Visit&& visit)
{
    while (end - p >= 8) {
        const std::uint32_t size = u32(p + 4);
        if (size > static_cast<std::size_t>(end - p - 8)) {
            return false;
        }
        visit(std::string(reinterpret_cast<const char*>(p), 4), p + 8, size);
        p += 8 + size + (size & 1);
    }
    return true;
}

std::optional<SoundFont> read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0
        || std::memcmp(file.data() + 8, "sfbk", 4) != 0) {
        return std::nullopt;
    }
    SoundFont font;
    const bool whole = chunks(
        file.data() + 12, file.data() + file.size(), [&](const std::string& id, auto* body, auto size) {
            if (id != "LIST" || size < 4) {
                return;
            }
            const std::string type(reinterpret_cast<const char*>(body), 4);
            if (type == "INFO") {
                font.info.assign(body + 4, body + size);
                return;
            }
            chunks(body + 4, body + size, [&](const std::string& sub, auto* data, auto length) {
                Bytes& to = sub == "smpl" ? font.smpl : sub == "sm24" ? font.sm24 : font.lists[sub];
                to.assign(data, data + length);
            });
        });
    for (std::size_t i = 0; i < std::size(kLists); ++i) {
        const auto list = font.lists.find(kLists[i]);
        if (list == font.lists.end() || list->second.size() % kRecordSize[i] != 0 || list->second.empty()) {
            return std::nullopt;
        }
    }
    // Version 3 files hold compressed samples, which this cut cannot slice.
    int major = 0;
    chunks(font.info.data(), font.info.data() + font.info.size(),
        [&](const std::string& id, auto* body, auto size) {
            if (id == "ifil" && size >= 2) {
                major = u16(body);
            }
        });
    if (!whole || font.smpl.empty() || major != 2) {
        return std::nullopt;
    }
    return font;
}

// The source's instruments (or samples) the cut keeps, numbered in the order
// they are first named.
struct Renumbering {
    std::map<std::size_t, std::size_t> index; // source's to the cut's
    std::vector<std::size_t> kept; // the cut's to the source's

    std::size_t operator()(std::size_t old)
    {
        const auto [at, added] = index.emplace(old, kept.size());
        if (added) {
            kept.push_back(old);
        }
        return at->second;
    }
};

// Copies the zones from..to of a preset (or an instrument): their bags,
// generators and modulators, renumbering what the link generator names.
void copyZones(const SoundFont& from, SoundFont& to, List bag, std::size_t first, std::size_t last,
    std::uint16_t link, Renumbering& links)
{
    const List gen = static_cast<List>(bag + 2), mod = static_cast<List>(bag + 1);
    for (std::size_t b = first; b < last; ++b) {
        std::uint8_t* zone = to.append(bag, from.record(bag, b));
        put16(zone, static_cast<std::uint32_t>(to.count(gen)));
        put16(zone + 2, static_cast<std::uint32_t>(to.count(mod)));
        for (std::size_t g = u16(from.record(bag, b)); g < u16(from.record(bag, b + 1)); ++g) {
            std::uint8_t* generator = to.append(gen, from.record(gen, g));
            if (u16(generator) == link) {
                put16(generator + 2, static_cast<std::uint32_t>(links(u16(generator + 2))));
            }
        }
        for (std::size_t m = u16(from.record(bag, b) + 2); m < u16(from.record(bag, b + 1) + 2); ++m) {
            to.append(mod, from.record(mod, m));
        }
    }
}

// A terminal record of a list, as the format ends each one.
void terminate(SoundFont& to, List list, const char* name, std::size_t next)
{
    std::uint8_t record[46] = {};
    if (name != nullptr) {
        std::memcpy(record, name, std::strlen(name));
    }
    if (list == Phdr) {
        put16(record + 24, static_cast<std::uint32_t>(next));
    } else if (list == Inst) {
        put16(record + 20, static_cast<std::uint32_t>(next));
    } else if (list == Pbag || list == Ibag) {
        put16(record, static_cast<std::uint32_t>(to.count(static_cast<List>(list + 2))));
        put16(record + 2, static_cast<std::uint32_t>(to.count(static_cast<List>(list + 1))));
    }
    to.append(list, record);
}

// The presets (bank, program) wanted, with their instruments and samples.
SoundFont cut(const SoundFont& from, const std::vector<std::pair<int, int>>& presets)
{
    SoundFont to { .info = from.info, .smpl = {}, .sm24 = {}, .lists = {} };
    Renumbering instruments, samples;
    for (std::size_t p = 0; p + 1 < from.count(Phdr); ++p) {
        const std::uint8_t* preset = from.record(Phdr, p);
        if (std::find(presets.begin(), presets.end(), std::pair<int, int>(u16(preset + 22), u16(preset + 20)))
            != presets.end()) {
            put16(to.append(Phdr, preset) + 24, static_cast<std::uint32_t>(to.count(Pbag)));
            copyZones(from, to, Pbag, u16(preset + 24), u16(from.record(Phdr, p + 1) + 24), kGenInstrument,
                instruments);
        }
    }
    // Instruments and samples in the order the presets first name them.
    for (std::size_t n = 0; n < instruments.kept.size(); ++n) {
        const std::size_t old = instruments.kept[n];
        put16(to.append(Inst, from.record(Inst, old)) + 20, static_cast<std::uint32_t>(to.count(Ibag)));
        copyZones(from, to, Ibag, u16(from.record(Inst, old) + 20), u16(from.record(Inst, old + 1) + 20),
            kGenSampleId, samples);
    }
    for (std::size_t n = 0; n < samples.kept.size(); ++n) {
        const std::size_t old = samples.kept[n];
        std::uint8_t* sample = to.append(Shdr, from.record(Shdr, old));
        // Its points, from the first to the last it names, and the padding after.
        std::uint32_t first = std::min(u32(sample + 20), u32(sample + 28));
        std::uint32_t last = std::max(u32(sample + 24), u32(sample + 32)) + kSamplePadding;
        last = std::min<std::uint32_t>(last, static_cast<std::uint32_t>(from.smpl.size() / 2));
        first = std::min(first, last);
        const std::uint32_t at = static_cast<std::uint32_t>(to.smpl.size() / 2);
        to.smpl.insert(to.smpl.end(), from.smpl.begin() + 2 * first, from.smpl.begin() + 2 * last);
        if (!from.sm24.empty()) {
            to.sm24.insert(to.sm24.end(), from.sm24.begin() + first,
                from.sm24.begin() + std::min<std::size_t>(last, from.sm24.size()));
        }
        to.smpl.resize(to.smpl.size() + 2 * kSamplePadding); // the padding the format asks for
        to.sm24.resize(from.sm24.empty() ? 0 : to.smpl.size() / 2);
        for (int point = 20; point <= 32; point += 4) {
            put32(sample + point, u32(sample + point) - first + at);
        }
        // The other half of a stereo pair comes along.
        if ((u16(sample + 44) & 0x6) != 0) {
            put16(sample + 42, static_cast<std::uint32_t>(samples(u16(sample + 42))));
        }
    }
    terminate(to, Phdr, "EOP", to.count(Pbag));
    terminate(to, Pbag, nullptr, 0);
    terminate(to, Pmod, nullptr, 0);
    terminate(to, Pgen, nullptr, 0);
    terminate(to, Inst, "EOI", to.count(Ibag));
    terminate(to, Ibag, nullptr, 0);
    terminate(to, Imod, nullptr, 0);
    terminate(to, Igen, nullptr, 0);
    terminate(to, Shdr, "EOS", 0);
    return to;
}

void chunk(Bytes& out, const char* id, const Bytes& body)
{
    out.insert(out.end(), id, id + 4);
    out.resize(out.size() + 4);
    put32(out.data() + out.size() - 4, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) {
        out.push_back(0);
    }
}

Bytes list(const char* type, const Bytes& body)
{
    Bytes out(type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool write(const SoundFont& font, const std::string& path)
{
    Bytes sdta, pdta, riff(4);
    chunk(sdta, "smpl", font.smpl);
    if (!font.sm24.empty()) {
        chunk(sdta, "sm24", font.sm24);
    }
    for (const char* name : kLists) {
        chunk(pdta, name, font.lists.at(name));
    }
    std::memcpy(riff.data(), "sfbk", 4);
    chunk(riff, "LIST", list("INFO", font.info));
    chunk(riff, "LIST", list("sdta", sdta));
    chunk(riff, "LIST", list("pdta", pdta));
    Bytes file;
    chunk(file, "RIFF", riff);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

// The game's four sounds as it plays them (Fenster1::klang), each left to
// ring and die away, then all at once.
std::vector<float> gameSounds(const std::string& soundFont)
{
    platform::Synthesizer synth({ .soundFonts = { soundFont } });
    if (!synth.hasSound()) {
        return {};
    }
    const std::pair<int, int> sounds[] = { { board::kEdgeNote, board::kBounceInstrument },
        { board::kLossNote, board::kBounceInstrument }, { board::kPaddleNote, board::kBounceInstrument },
        { board::kScoreNote, board::kScoreInstrument } };
    std::vector<float> heard;
    const auto listen = [&](int frames) {
        const auto part = synth.render(frames);
        heard.insert(heard.end(), part.begin(), part.end());
    };
    for (const auto& [note, instrument] : sounds) {
        synth.noteOff(note);
        synth.programChange(instrument - 1);
        synth.noteOn(note, board::kLoud);
        listen(platform::Synthesizer::kSampleRate / 2);
        synth.noteOff(note);
        listen(platform::Synthesizer::kSampleRate);
    }
    for (const auto& [note, instrument] : sounds) {
        synth.programChange(instrument - 1);
        synth.noteOn(note, board::kLoud);
        listen(441);
    }
    listen(platform::Synthesizer::kSampleRate);
    return heard;
}

int fail(const std::string& why)
{
    std::fprintf(stderr, "zindra_soundfont_cut: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        return fail("usage: zindra_soundfont_cut SOURCE OUTPUT");
    }
    const std::string source = argv[1], output = argv[2];
    const auto font = read(source);
    if (!font) {
        return fail(source + " is not a SoundFont 2 file this program can read");
    }
    // The game's programs, in bank 0. A program the SoundFont lacks sounds,
    // on a melodic channel, as the synthesizer's fallback: bank 0's first.
    std::vector<std::pair<int, int>> presets;
    for (std::size_t p = 0; p + 1 < font->count(Phdr); ++p) {
        presets.emplace_back(u16(font->record(Phdr, p) + 22), u16(font->record(Phdr, p) + 20));
    }
    const auto has = [&presets](std::pair<int, int> preset) {
        return std::find(presets.begin(), presets.end(), preset) != presets.end();
    };
    std::vector<std::pair<int, int>> wanted;
    for (int instrument : { board::kBounceInstrument, board::kScoreInstrument }) {
        wanted.emplace_back(has({ 0, instrument - 1 }) ? std::pair(0, instrument - 1) : std::pair(0, 0));
    }
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    presets = wanted;
    if (!write(cut(*font, presets), output)) {
        return fail("cannot write " + output);
    }
    const auto full = gameSounds(source), ours = gameSounds(output);
    std::string problem;
    if (full.empty() || std::all_of(full.begin(), full.end(), [](float s) { return s == 0.0f; })) {
        problem = "the synthesizer plays nothing from " + source;
    } else if (ours != full) {
        const auto at
            = std::mismatch(full.begin(), full.end(), ours.begin(), ours.end()).first - full.begin();
        problem = "the game's sounds from the cut SoundFont differ from " + source + "'s, from frame "
            + std::to_string(at / 2);
    }
    if (!problem.empty()) {
        std::filesystem::remove(output);
        return fail(problem);
    }
    std::printf("zindra_soundfont_cut: %s: %zu presets, %zu kB (from %zu kB); the game's sounds alike\n",
        output.c_str(), presets.size(), static_cast<std::size_t>(std::filesystem::file_size(output) / 1024),
        static_cast<std::size_t>(std::filesystem::file_size(source) / 1024));
    return 0;
}
