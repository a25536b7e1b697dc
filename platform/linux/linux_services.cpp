// Putting the real services together, and taking them apart in the safe order.
#include "platform/linux/linux_services.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/linux/output_choice.h"
#include "platform/linux/pipewire_output.h"
#include "platform/linux/pulse_output.h"

namespace platform::linux_backend {

LinuxServices::LinuxServices(const LinuxOptions& options) {
    const OutputKind kind = ChooseOutput(std::getenv(kOutputVariable), kAutomaticOutput);
    player::PlayerOptions playerOptions = options.player;
    playerOptions.sampleRate = SoundOutput::kRate;
    playerOptions.channels = SoundOutput::kChannels;
    if (kind == OutputKind::kPipeWire)
        playerOptions.tickLeadMs = std::max(playerOptions.tickLeadMs, PipeWireOutput::kTickLeadMs);
    player_ = std::make_unique<player::PlayerEngine>(playerOptions, clock_);
    if (kind == OutputKind::kPipeWire)
        output_ = std::make_unique<PipeWireOutput>(*player_);
    else
        output_ = std::make_unique<PulseOutput>(*player_);
    if (options.openAudio)
        hasOutput_ = output_->Start(options.connectWaitMs);
    // Said once; the output keeps looking, and a server that comes later is used.
    if (options.openAudio && !hasOutput_)
        std::fputs("metronome: no audio output found, running silently\n", stderr);
    waveOut_ = std::make_unique<player::VolumeWaveOut>(*output_);
    timers_ = std::make_unique<ThreadTimerService>(player_.get());
}

LinuxServices::~LinuxServices() {
    if (Installed().player == player_.get())
        Install({});
    timers_.reset();  // joins the timer thread: no more requests
    player_->Play(nullptr, SND_ASYNC);
    output_->Close();  // joins the client thread: nothing reads a sample any more
}

void LinuxServices::DeliverVolumeNotice() {
    if (output_->TakeVolumeNotice())
        waveOut_->VolumeChangedOutside();
}

Services LinuxServices::Get() {
    Services s;
    s.timers = timers_.get();
    s.player = player_.get();
    s.waveOut = waveOut_.get();
    s.shell = &shell_;
    return s;
}

}  // namespace platform::linux_backend
