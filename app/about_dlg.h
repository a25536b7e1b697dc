// The About box: the icon, the program's name and version, and a link to the maker's page.
#pragma once

#include "ui/dialog.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();
    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;

    void OnWebPage();
};
