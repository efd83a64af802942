#include "platform/qt/IniProfileStore.h"

#include "platform/UserConfigDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

QString Join(const std::string& section, const std::string& key) {
    return ToQString(section) + QLatin1Char('/') + ToQString(key);
}

// Decimal text of a 32-bit value, signed or unsigned; false for anything else.
bool ParseInt32(const std::string& text, int& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    if (first != last && *first == '-' && first != text.data())
        return false; // "+-5"
    int64_t parsed = 0;
    const auto [end, ec] = std::from_chars(first, last, parsed);
    if (ec != std::errc() || end != last || first == last)
        return false;
    if (parsed < INT32_MIN || parsed > static_cast<int64_t>(UINT32_MAX))
        return false;
    value = static_cast<int>(static_cast<uint32_t>(parsed));
    return true;
}

// Plain INI text: "[section]" lines and "key=value" lines, names and values
// taken as written (trimmed), ';' and '#' start comment lines. QSettings' own
// INI format would escape blanks in names ("Ramp1%20Start") and split values at
// commas, which makes a hand-edited file harder to read and write. A line that
// is none of these is skipped; a file that is not text (NUL bytes, invalid
// UTF-8) is not read at all.
bool ReadPlainIni(QIODevice& device, QSettings::SettingsMap& map) {
    QByteArray bytes = device.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    QString section;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QString key = line.left(equals).trimmed();
        if (equals < 0 || key.isEmpty() || section.isEmpty())
            continue;
        map.insert(section + QLatin1Char('/') + key, line.mid(equals + 1).trimmed());
    }
    return true;
}

bool WritePlainIni(QIODevice& device, const QSettings::SettingsMap& map) {
    QString currentSection;
    bool first = true;
    QByteArray text;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        if (slash <= 0)
            continue; // every value of this profile lives in a section
        const QString section = it.key().left(slash);
        if (first || section != currentSection) {
            if (!first)
                text += "\n";
            text += "[" + section.toUtf8() + "]\n";
            currentSection = section;
            first = false;
        }
        QString value = it.value().toString();
        value.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        text += it.key().mid(slash + 1).toUtf8() + "=" + value.toUtf8() + "\n";
    }
    return device.write(text) == text.size();
}

QSettings::Format PlainIniFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), ReadPlainIni, WritePlainIni);
    return format;
}

} // namespace

IniProfileStore::IniProfileStore(const std::string& applicationName,
                                 const std::string& explicitPath)
    : path_(explicitPath.empty() ? DefaultPath(applicationName) : explicitPath),
      settings_(std::make_unique<QSettings>(ToQString(path_), PlainIniFormat())) {
    // A file that is not a readable INI file reads as empty; it is replaced by
    // the values written, never half-interpreted.
    const QFileInfo info(ToQString(path_));
    ignoreFileContents_ = settings_->status() != QSettings::NoError ||
                          (info.exists() && (!info.isFile() || !info.isReadable()));
}

IniProfileStore::~IniProfileStore() {
    Sync();
}

std::string IniProfileStore::DefaultPath(const std::string& applicationName) {
    return (UserConfigDirectory() / "Tessaran" / (applicationName + ".ini")).string();
}

std::string IniProfileStore::ApplicationNameFromExecutable(const std::string& executablePath) {
    return std::filesystem::path(executablePath).stem().string();
}

std::string IniProfileStore::FindStoredKey(const std::string& section, const std::string& key) {
    if (ignoreFileContents_)
        return {};
    const QString exact = Join(section, key);
    if (settings_->contains(exact))
        return ToStdString(exact);
    const QString wantedSection = ToQString(section);
    const QString wantedKey = ToQString(key);
    for (const QString& group : settings_->childGroups()) {
        if (group.compare(wantedSection, Qt::CaseInsensitive) != 0)
            continue;
        settings_->beginGroup(group);
        const QStringList keys = settings_->childKeys();
        settings_->endGroup();
        for (const QString& stored : keys) {
            if (stored.compare(wantedKey, Qt::CaseInsensitive) == 0)
                return ToStdString(group + QLatin1Char('/') + stored);
        }
    }
    return {};
}

int IniProfileStore::ReadInt(const std::string& section, const std::string& key, int defaultValue) {
    const std::string stored = FindStoredKey(section, key);
    if (stored.empty())
        return defaultValue;
    int parsed = 0;
    const QString value = settings_->value(ToQString(stored)).toString();
    return ParseInt32(ToStdString(value), parsed) ? parsed : defaultValue;
}

std::string IniProfileStore::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) {
    const std::string stored = FindStoredKey(section, key);
    if (stored.empty())
        return defaultValue;
    return ToStdString(settings_->value(ToQString(stored)).toString());
}

bool IniProfileStore::WriteInt(const std::string& section, const std::string& key, int value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniProfileStore::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value) {
    if (ignoreFileContents_) {
        // Start afresh instead of merging into a file that could not be read;
        // the old file is kept beside the new one, so nothing of it is lost.
        const QFileInfo info(ToQString(path_));
        if (info.isFile()) {
            const QString kept = info.absoluteFilePath() + QStringLiteral(".unreadable");
            QFile::remove(kept);
            QFile::rename(info.absoluteFilePath(), kept);
        }
        settings_ = std::make_unique<QSettings>(ToQString(path_), PlainIniFormat());
        ignoreFileContents_ = false;
    }
    settings_->setValue(Join(section, key), ToQString(value));
    written_ = true;
    return true;
}

bool IniProfileStore::Sync() {
    if (written_) // a store that was only read creates no folders
        QDir().mkpath(QFileInfo(ToQString(path_)).absolutePath());
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
