// Commands that show the stored report.

#include "Cli.h"

#include "app/Session.h"
#include "store/ReportFields.h"
#include "store/ReportIO.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <vector>

namespace {

QJsonObject reportJson(ReportModel& m)
{
    // Every value of Misc, Education and Activities under the model's name; lists (the course counts, the
    // activity texts) as arrays in the model's order.
    QJsonObject o;
    std::map<QString, std::vector<QJsonValue>> lists;
    for (const ReportFields::Field& f : ReportFields::all()) {
        if (f.role == ReportFields::Role::Marker)
            continue;
        const QString name = QString::fromLatin1(f.modelName);
        if (f.index < 0) {
            o.insert(name, QJsonValue::fromVariant(f.valueIn(m)));
            continue;
        }
        std::vector<QJsonValue>& list = lists[name];
        if (list.size() <= size_t(f.index))
            list.resize(size_t(f.index) + 1);
        list[size_t(f.index)] = QJsonValue::fromVariant(f.valueIn(m));
    }
    for (const auto& [name, values] : lists) {
        QJsonArray array;
        for (const QJsonValue& v : values)
            array.append(v);
        o.insert(name, array);
    }
    o.insert(QStringLiteral("SquadronCode"), m.SquadronCode);
    o.insert(QStringLiteral("SquadronNoText"), m.SquadronNoText);

    // The officer list, one object per line in Forder order.
    o.insert(QStringLiteral("OfficerCount"), m.officerCount());
    QJsonArray officers;
    for (const Officer& off : std::as_const(m.Officers)) {
        QJsonObject line;
        line.insert(QStringLiteral("OffOrder"), off.Order);
        line.insert(QStringLiteral("OffTitle"), off.Title);
        line.insert(QStringLiteral("OffCode"), off.Code);
        line.insert(QStringLiteral("OffHeading"), off.Heading);
        line.insert(QStringLiteral("OffCert"), off.Cert);
        line.insert(QStringLiteral("OffLast"), off.Last);
        line.insert(QStringLiteral("OffFirst"), off.First);
        line.insert(QStringLiteral("OffRank"), off.Rank);
        line.insert(QStringLiteral("OffGrade"), off.Grade);
        officers.append(line);
    }
    o.insert(QStringLiteral("Officers"), officers);

    // The seven recognition lists ("1" to "7"), each with its entries in use, in order.
    QJsonObject recognized;
    for (int c = 1; c <= ReportModel::CategoryCount; ++c) {
        QJsonArray entries;
        for (int e = 1; e <= ReportModel::EntriesPerCategory; ++e) {
            const RecognizedEntry& rec = m.entry(c, e);
            if (rec.Last.isEmpty())
                continue;
            QJsonObject entry;
            entry.insert(QStringLiteral("RecCert"), rec.Cert);
            entry.insert(QStringLiteral("RecLast"), rec.Last);
            entry.insert(QStringLiteral("RecFirst"), rec.First);
            entry.insert(QStringLiteral("RecRank"), rec.Rank);
            entry.insert(QStringLiteral("RecGrade"), rec.Grade);
            entry.insert(QStringLiteral("RecOffice"), rec.Office);
            entry.insert(QStringLiteral("RecCategory"), rec.Category);
            entries.append(entry);
        }
        recognized.insert(QString::number(c), entries);
    }
    o.insert(QStringLiteral("Recognized"), recognized);
    return o;
}

int dump(CliContext& c)
{
    if (!loadStoredReport(c, false))
        return 1;
    *c.out << QJsonDocument(reportJson(c.session->model)).toJson(QJsonDocument::Indented);
    return 0;
}

const CliRegistrar dumpCommand({"dump", true, dump, "dump                   print the stored report as JSON"});

} // namespace
