// The settings file "peizhi.a" in the program folder. Every call opens the file, reads or
// writes one key and closes it again, so a value changed by hand while the program runs is
// seen by the next read.
#pragma once

#include <QString>

namespace pd {

class SettingsFile final
{
public:
    explicit SettingsFile(QString runDir);

    // The stored value; empty when the file, the section or the key is missing.
    QString readKey(QStringView section, QStringView key) const;
    // The stored value, or the fallback when the file, the section or the key is missing.
    // A key stored with an empty value reads as empty.
    QString readKeyOr(QStringView section, QStringView key, const QString& fallback) const;
    // Stores the value, creating the file and the section when missing. Line breaks in the
    // value are stored as blanks. False when the file could not be written.
    bool writeKey(QStringView section, QStringView key, QStringView value) const;
    // Linux has no hidden attribute. Hiding the file on Windows also cleared read-only, and
    // that part stays: the owner gets write permission back. Nothing when the file is missing.
    void hideSettingsFile() const;

    QString path() const;

private:
    QString m_runDir;
};

} // namespace pd
