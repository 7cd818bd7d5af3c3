#pragma once

#include "OptionsPage.h"

// The "Browser" page: browser windows in tabs, how links the project lacks
// are shown, and what page scripts may do with the browser windows.
class BrowserOptionsPage : public OptionsPage {
    Q_OBJECT

public:
    explicit BrowserOptionsPage(QWidget *parent = nullptr);
};
