// One reset for every global of the program, each done by the folder that defines it.
#include "app/process_state.h"

#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "platform/file.h"
#include "tempo/tap_series.h"

void ResetProcessState() {
    ResetBeatClock();
    tempo::ResetTapTempo();
    ClearSampleStore();
    platform::InjectFileFaults({});
}
