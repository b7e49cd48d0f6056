#pragma once

// What importing a parameter file would do, shown before anything is sent: each setting of each
// group (grouped as the import sends them) with the file's value beside the aircraft's, which
// groups the user chose to send, and afterwards what the aircraft answered for each.

#include "app/ParameterFile.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct AircraftParams;
class ParameterFreshness;

class ImportPreview
{
public:
    enum class Change {
        Same,    // the aircraft already has this value
        Changed, // the import gives the aircraft another value
        Unknown, // the aircraft's value was never read: no telling
    };
    enum class Outcome { NotSent, Acknowledged, NotConfirmed };

    // Values in the store's encoding: the file's number cut to the field's width, as import
    // stores it.
    struct Setting
    {
        const char *key = nullptr;
        std::optional<int> file;     // nothing: the file lacks it, the store's value goes again
        std::optional<int> aircraft; // nothing: not read from this aircraft since the handshake
        int sent = 0;                // what the group's write command would carry
        Change change() const;
    };
    struct Group
    {
        int index = 0; // in ParameterFile::groups()
        QList<Setting> settings;
        bool checked = true;
        Outcome outcome = Outcome::NotSent;
        bool changes() const; // a setting changed or unknown
    };

    ImportPreview(const QJsonObject &document,
                  const AircraftParams &params,
                  const ParameterFreshness &freshness);

    const QList<Group> &groups() const { return m_groups; }
    void setChecked(int group, bool checked);
    QList<int> checkedGroups() const;
    // After a send: the groups sent, and those the aircraft did not confirm among them.
    void setOutcomes(const QList<int> &sent, const QList<int> &unconfirmed);

    // A file for another kind of aircraft: its frame type or wheelbase differs from the
    // aircraft's (or the aircraft's was never read). One translated text per difference.
    QStringList warnings() const;

    // What the user calls a setting, and a value as the pages show it (translated).
    static QString settingName(const char *key);
    static QString displayValue(const char *key, int value);

private:
    QList<Group> m_groups;
};
