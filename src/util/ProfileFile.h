#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace Lanvo {

class ProfileText;

// An INI ("profile") file read and written key by key. Unlike QSettings it leaves every line it does
// not own as it was, byte for byte, and stores values without escaping them.
class ProfileFile
{
public:
    explicit ProfileFile(QString path);

    const QString &path() const;

    // The value of Key in Section, or Default when the file, the section or the key is missing.
    QByteArray readString(const QByteArray &section, const QByteArray &key,
                          const QByteArray &defaultValue) const;

    // Writes one key as one complete, atomic update of the file (QSaveFile: the new content is
    // written beside the file and renamed over it). Throws Lanvo::LanvoError with the text
    // "Unable to write to " followed by the file's path when the file can't be written.
    void writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value) const;

private:
    QString m_path;
};

// The file read once, for a reader of many keys: each answer is what ProfileFile::readString gives
// for the file as it was when the snapshot was taken (a file that can't be read answers defaults).
class ProfileSnapshot
{
public:
    explicit ProfileSnapshot(const QString &path);
    ~ProfileSnapshot();
    ProfileSnapshot(const ProfileSnapshot &) = delete;
    ProfileSnapshot &operator=(const ProfileSnapshot &) = delete;

    QByteArray readString(const QByteArray &section, const QByteArray &key, const QByteArray &defaultValue) const;

private:
    std::unique_ptr<const ProfileText> m_text;
};

} // namespace Lanvo
