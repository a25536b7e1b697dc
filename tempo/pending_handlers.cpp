// Tempo handlers under construction: they change nothing yet.
#include "app/metronome_dlg.h"

void CMetronomeDlg::OnSelchangeTempo() {}
void CMetronomeDlg::OnNoFixedScale() {}
void CMetronomeDlg::OnChangeTempoValue() {}
void CMetronomeDlg::OnTap() {}
void CMetronomeDlg::UpdateTempoName() {}
