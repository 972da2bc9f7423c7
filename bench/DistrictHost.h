#pragma once

#include <QString>

// A district-size host for the benchmarks, built deterministically from a seed: 20,000 members (about a
// third of them from other squadrons), 60,000 committee rows (squadron, district and national), 5,000 merit
// marks, course completions over ten years and the title tables, without indexes.
struct DistrictHostSpec
{
    int members = 20000;
    int committeeRows = 60000;
    int meritMarks = 5000;
    quint64 seed = 318;
};

// Writes the host into root: root/config (XDG_CONFIG_HOME), root/data/Rostrelv3/ with "BNQ.mdb" and
// "Squadrons.mdb". Returns the host's command line, or an empty text with *error set.
QString CreateDistrictHost(const QString& root, const DistrictHostSpec& spec = {}, QString* error = nullptr);
