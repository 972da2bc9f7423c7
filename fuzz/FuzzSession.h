#pragma once

// A report session in a temporary folder for the fuzz targets: a report file created once, silent prompts.

#include "app/Session.h"
#include "base/Prompt.h"

#include <QTemporaryDir>

#include <memory>

class SilentPrompt : public Prompt
{
public:
    Answer ask(const Message& message) override
    {
        switch (message.buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::No;
        }
        return Answer::Cancel;
    }
};

struct FuzzSession
{
    QTemporaryDir dir;
    Session session;
    SilentPrompt prompt;

    FuzzSession()
    {
        session.DataDir = dir.path() + QStringLiteral("/");
        session.model.SquadronCode = QStringLiteral("FZ");
        session.model.SquadronName = QStringLiteral("Fuzz Squadron");
        session.model.SquadronNo = 7;
        session.ReportDBPath = session.DataDir + QStringLiteral("r318_FZ.mdb");
        session.ReportBakPath = session.DataDir + QStringLiteral("r318_FZ.bak");
        session.CurrentDBPath = session.ReportDBPath;
        session.CurrentBakPath = session.ReportBakPath;
        session.UploadFilePath = session.DataDir + QStringLiteral("R318_Upload.txt");
    }
};
