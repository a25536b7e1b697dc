// The "Save User Preset" question: which of the eight presets the Save button overwrites.
#pragma once

#include "ui/dialog.h"

class CSBDialog : public CDialog {
  public:
    // Without a parent the owner is the application's main window, the main dialog.
    explicit CSBDialog(CWnd* parent = nullptr);

    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;

    void OnSaveState();  // pulls the list into m_nBank at every change
    void OnCancel() override;
    void OnClose();

    // Row of the list, 0 to 7 for presets 1 to 8; -1 when cancelled, closed or nothing selected.
    int m_nBank;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
