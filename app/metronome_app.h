// The application object: initialises the controls and runs the main dialog.
#pragma once

#include "ui/win_app.h"

class CMetronomeApp : public CWinApp {
  public:
    BOOL InitInstance() override;
    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;
};

extern CMetronomeApp theApp;
