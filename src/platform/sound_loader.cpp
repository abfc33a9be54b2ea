// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The process's note output. The synthesizer lives in the sound module,
// loaded when the application first asks for sound (the player's first
// click) or at the first note, whichever comes first, so that the game starts
// without FluidSynth and the sound server's client. The instrument chosen
// before that is handed over.
#include "platform/note_player.h"

#include "platform/program_files.h"
#include "platform/sound/sound_module.h"
#include "platform/startup_trace.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#ifndef ZINDRA_SOUND_MODULE_DIR
#define ZINDRA_SOUND_MODULE_DIR "../lib/zindra"
#endif

namespace platform {

namespace {

constexpr const char* kModuleName = "zindra_sound.so";

// Where the module may be: named by the environment (tests), beside the
// program (the build tree), or where the package installs it, relative to
// the program so that any install prefix works.
std::vector<std::string> moduleCandidates()
{
    if (const char* path = std::getenv("ZINDRA_SOUND_MODULE")) {
        return { path };
    }
    std::vector<std::string> candidates;
    for (const auto& path : programFileCandidates(kModuleName, ZINDRA_SOUND_MODULE_DIR)) {
        candidates.push_back(path);
    }
    if (candidates.empty()) {
        candidates.emplace_back(kModuleName); // the loader's own search
    }
    return candidates;
}

// Silent calls, when the module cannot be had.
class NoSound : public NoteOutput {
public:
    void programChange(int) override { }
    void noteOn(int, int) override { }
    void noteOff(int) override { }
};

std::unique_ptr<NoteOutput> openModule()
{
    std::string why; // each candidate's reason, in the order tried
    for (const auto& path : moduleCandidates()) {
        // Never closed: the output it makes lives until the process ends.
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            why += (why.empty() ? "" : "; ") + std::string(dlerror());
            continue;
        }
        if (auto open = reinterpret_cast<ZindraSoundOpen>(dlsym(module, ZINDRA_SOUND_OPEN))) {
            return std::unique_ptr<NoteOutput>(open());
        }
        why += (why.empty() ? "" : "; ") + path + " has no " ZINDRA_SOUND_OPEN;
    }
    std::fprintf(stderr,
        "zindra: the sound module could not be loaded (%s); the game plays on without sound\n", why.c_str());
    return std::make_unique<NoSound>();
}

// Loads the module on a thread of its own (libraries, SoundFont: some tens
// of milliseconds), so that the game's thread never waits for it; the notes
// played meanwhile are not heard.
class DefaultOutput : public NoteOutput {
public:
    ~DefaultOutput() override
    {
        if (loader_.joinable()) {
            loader_.join();
        }
        delete loaded_.exchange(nullptr);
    }
    void prepare()
    {
        if (loader_.joinable() || output_) {
            return;
        }
        loader_ = std::thread([this] {
            loaded_.store(openModule().release(), std::memory_order_release);
            traceStartup("sound module loaded");
        });
    }
    void programChange(int program) override
    {
        program_ = program;
        if (NoteOutput* output = ready()) {
            output->programChange(program);
        }
    }
    void noteOn(int note, int velocity) override
    {
        prepare();
        if (NoteOutput* output = ready()) {
            output->noteOn(note, velocity);
        }
    }
    void noteOff(int note) override
    {
        if (NoteOutput* output = ready()) {
            output->noteOff(note);
        }
    }

private:
    // The output once the loader has made it; the instrument chosen before
    // is handed over then.
    NoteOutput* ready()
    {
        if (!output_) {
            NoteOutput* loaded = loaded_.exchange(nullptr, std::memory_order_acquire);
            if (loaded == nullptr) {
                return nullptr;
            }
            loader_.join();
            output_.reset(loaded);
            output_->programChange(program_);
        }
        return output_.get();
    }

    std::thread loader_;
    std::atomic<NoteOutput*> loaded_ { nullptr };
    std::unique_ptr<NoteOutput> output_;
    int program_ = 0;
};

std::shared_ptr<DefaultOutput>& defaultOutput()
{
    static auto output = std::make_shared<DefaultOutput>();
    return output;
}

} // namespace

std::shared_ptr<NoteOutput> defaultNoteOutput()
{
    return defaultOutput();
}

void prepareDefaultNoteOutput()
{
    defaultOutput()->prepare();
}

} // namespace platform
