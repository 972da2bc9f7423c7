#pragma once

#include "output/WebSubmission.h"

// The system's default browser through QDesktopServices::openUrl. While the call runs, messages logged by
// the platform have the address's query (which holds the password) cut out.
class DesktopBrowser : public Browser
{
public:
    bool open(const QUrl& url) override;
};
