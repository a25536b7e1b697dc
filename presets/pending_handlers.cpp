// Preset handlers under construction: they change nothing yet.
#include "app/metronome_dlg.h"

void CMetronomeDlg::LoadBank(const CString&) {}
void CMetronomeDlg::OnSaveBank() {}
void CMetronomeDlg::OnBank1() {}
void CMetronomeDlg::OnBank2() {}
void CMetronomeDlg::OnBank3() {}
void CMetronomeDlg::OnBank4() {}
void CMetronomeDlg::OnBank5() {}
void CMetronomeDlg::OnBank6() {}
void CMetronomeDlg::OnBank7() {}
void CMetronomeDlg::OnBank8() {}
