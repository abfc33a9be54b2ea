#include "platform/synthesizer.h"

#include <fluidsynth.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace platform {

namespace {

// FluidSynth's own messages would go to stderr unasked; the game says once,
// in its own words, why it is silent.
void quietLog(int /*level*/, const char* /*message*/, void* /*data*/) { }

void silenceFluidSynthLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : { FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG }) {
            fluid_set_log_function(level, quietLog, nullptr);
        }
    });
}

bool exists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// The audio drivers worth trying here, most likely first: a sound server whose
// socket is present, then the sound card itself.
std::vector<std::string> audioDrivers()
{
    std::vector<std::string> drivers;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = runtime != nullptr ? runtime : "";
    std::error_code error;
    if (std::getenv("PULSE_SERVER") != nullptr
        || (!dir.empty() && std::filesystem::exists(dir + "/pulse/native", error))) {
        drivers.emplace_back("pulseaudio");
    }
    if (!dir.empty() && std::filesystem::exists(dir + "/pipewire-0", error)) {
        drivers.emplace_back("pipewire");
    }
    if (std::filesystem::exists("/dev/snd", error)) {
        drivers.emplace_back("alsa");
    }
    return drivers;
}

} // namespace

struct Synthesizer::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~Impl()
    {
        if (driver != nullptr) {
            delete_fluid_audio_driver(driver);
        }
        if (synth != nullptr) {
            delete_fluid_synth(synth);
        }
        if (settings != nullptr) {
            delete_fluid_settings(settings);
        }
    }
};

std::string Synthesizer::findSoundFont(const std::vector<std::string>& candidates)
{
    if (!candidates.empty()) {
        for (const auto& path : candidates) {
            if (exists(path)) {
                return path;
            }
        }
        return {};
    }
    for (const char* path : { "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
             "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
             "/usr/share/soundfonts/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3" }) {
        if (exists(path)) {
            return path;
        }
    }
    return {};
}

Synthesizer::Synthesizer(const Options& options)
    : impl_(std::make_unique<Impl>())
    , channel_(options.channel)
{
    silenceFluidSynthLog();
    const std::string soundFont = findSoundFont(options.soundFonts);
    if (soundFont.empty()) {
        problem_ = "no General MIDI SoundFont found";
        return;
    }
    impl_->settings = new_fluid_settings();
    fluid_settings_setnum(impl_->settings, "synth.sample-rate", 44100.0);
    // Only the instruments in use are kept in memory.
    fluid_settings_setint(impl_->settings, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(impl_->settings, "synth.polyphony", 32);
    fluid_settings_setint(impl_->settings, "synth.cpu-cores", 1);
    // A short buffer: 3 periods of 64 frames are 4.4 ms at 44.1 kHz.
    fluid_settings_setint(impl_->settings, "audio.period-size", 64);
    fluid_settings_setint(impl_->settings, "audio.periods", 3);
    impl_->synth = new_fluid_synth(impl_->settings);
    if (impl_->synth == nullptr || fluid_synth_sfload(impl_->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        problem_ = "the SoundFont " + soundFont + " could not be loaded";
        if (impl_->synth != nullptr) {
            delete_fluid_synth(impl_->synth);
            impl_->synth = nullptr;
        }
        return;
    }
    // Loading reads the whole preset table through many small allocations;
    // hand the freed pages back rather than keep them for the whole game.
    malloc_trim(0);
    if (!options.withAudioDriver) {
        return;
    }
    for (const auto& name : audioDrivers()) {
        fluid_settings_setstr(impl_->settings, "audio.driver", name.c_str());
        impl_->driver = new_fluid_audio_driver(impl_->settings, impl_->synth);
        if (impl_->driver != nullptr) {
            return;
        }
    }
    problem_ = "no sound device";
}

Synthesizer::~Synthesizer() = default;

bool Synthesizer::hasSound() const
{
    return impl_->synth != nullptr;
}
bool Synthesizer::hasAudioDevice() const
{
    return impl_->driver != nullptr;
}

void Synthesizer::programChange(int program)
{
    if (impl_->synth != nullptr) {
        fluid_synth_program_change(impl_->synth, channel_, program);
    }
}

void Synthesizer::noteOn(int note, int velocity)
{
    if (impl_->synth != nullptr) {
        fluid_synth_noteon(impl_->synth, channel_, note, velocity);
    }
}

void Synthesizer::noteOff(int note)
{
    if (impl_->synth != nullptr) {
        fluid_synth_noteoff(impl_->synth, channel_, note);
    }
}

std::vector<float> Synthesizer::render(int frames)
{
    std::vector<float> samples(static_cast<std::size_t>(std::max(frames, 0)) * 2, 0.0f);
    if (impl_->synth != nullptr && frames > 0) {
        fluid_synth_write_float(impl_->synth, frames, samples.data(), 0, 2, samples.data(), 1, 2);
    }
    return samples;
}

namespace {

// The process's note output: the synthesizer is made when the application
// asks for it or at the first note, whichever comes first. The instrument
// chosen before that is kept and handed over.
class DefaultOutput : public NoteOutput {
public:
    void prepare()
    {
        if (synth_) {
            return;
        }
        Synthesizer::Options options;
        if (const char* path = std::getenv("ZINDRA_SOUNDFONT")) {
            // Test seam: a named SoundFont (or a missing one) instead of the standard places.
            options.soundFonts = { path };
        }
        synth_ = std::make_unique<Synthesizer>(options);
        if (!synth_->problem().empty()) {
            std::fprintf(stderr, "zindra: %s; the game plays on without sound\n", synth_->problem().c_str());
        }
        synth_->programChange(program_);
    }
    void programChange(int program) override
    {
        program_ = program;
        if (synth_) {
            synth_->programChange(program);
        }
    }
    void noteOn(int note, int velocity) override
    {
        prepare();
        synth_->noteOn(note, velocity);
    }
    void noteOff(int note) override
    {
        if (synth_) {
            synth_->noteOff(note);
        }
    }

private:
    std::unique_ptr<Synthesizer> synth_;
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
