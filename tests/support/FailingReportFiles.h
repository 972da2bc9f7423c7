#pragma once

#include "store/ReportFiles.h"

#include <functional>

// Report file operations that fail on request: operation `op` ("copy", "rename", "remove", "flush") fails, saying
// "simulated failure of <op> on <path>", when the path it works on (the target for copy and rename) ends with
// `suffix`; beforeFlush runs before each flush. They serve the store while the object lives.
class FailingReportFiles : public ReportFiles
{
public:
    FailingReportFiles(const QString& failingOp = {}, const QString& failingSuffix = {})
        : op(failingOp), suffix(failingSuffix)
    {
    }

    QString op;
    QString suffix;
    std::function<void(const QString&)> beforeFlush;

    bool copy(const QString& from, const QString& to, QString* why) override
    {
        return !hit(QStringLiteral("copy"), to, why) && ReportFiles::copy(from, to, why);
    }
    bool rename(const QString& from, const QString& to, QString* why) override
    {
        return !hit(QStringLiteral("rename"), to, why) && ReportFiles::rename(from, to, why);
    }
    bool remove(const QString& path, QString* why) override
    {
        return !hit(QStringLiteral("remove"), path, why) && ReportFiles::remove(path, why);
    }
    bool flush(const QString& path, QString* why) override
    {
        if (beforeFlush)
            beforeFlush(path);
        return !hit(QStringLiteral("flush"), path, why) && ReportFiles::flush(path, why);
    }

private:
    bool hit(const QString& operation, const QString& path, QString* why) const
    {
        if (operation != op || !path.endsWith(suffix))
            return false;
        if (why)
            *why = QStringLiteral("simulated failure of %1 on %2").arg(operation, path);
        return true;
    }
    ScopedReportFiles m_scoped{this};
};
