#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;

// The user's defaults: a persistent store of named values, kept by QSettings
// in the XDG config folder ($XDG_CONFIG_HOME/<organisation>/<application>.json).
//
// Values keep their kinds across a restart of the store: text, list of texts
// (also of one or no element), data, whole number, floating-point number,
// boolean, URL, date. Other kinds are refused.
//
// "AppleLanguages" is the user's ordered list of interface languages; while
// it is not set it reads as the system's interface languages (BCP 47 tags,
// such as "ko-KR"), as the global domain would answer.
//
// Main thread only.
class UserDefaults {
public:
    static constexpr char kAppleLanguages[] = "AppleLanguages";

    // The application's store.
    static UserDefaults& standard();

    // A store in the file at `filePath` (tests, tools).
    explicit UserDefaults(const QString& filePath);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    // The value stored under `key`; an invalid QVariant when there is none.
    QVariant object(const QString& key) const;
    bool contains(const QString& key) const;

    // Typed reads: absent when the key is missing or holds another kind.
    std::optional<QString> string(const QString& key) const;
    std::optional<QStringList> stringArray(const QString& key) const;
    std::optional<QByteArray> data(const QString& key) const;
    // Any number (whole or floating-point).
    std::optional<double> number(const QString& key) const;
    std::optional<bool> boolean(const QString& key) const;

    // Reads with the platform's defaults for a missing key: 0, 0.0, false.
    bool boolForKey(const QString& key) const { return boolean(key).value_or(false); }
    double doubleForKey(const QString& key) const { return number(key).value_or(0.0); }
    float floatForKey(const QString& key) const { return static_cast<float>(doubleForKey(key)); }
    qint64 integerForKey(const QString& key) const { return static_cast<qint64>(doubleForKey(key)); }

    // Stores `value` under `key`; an invalid QVariant removes the key. Returns
    // false (storing nothing) for a kind the store cannot keep.
    bool set(const QString& key, const QVariant& value);
    void removeObject(const QString& key);

    // Writes pending changes to the file.
    void synchronize();

    // The file the store is kept in.
    QString filePath() const;

    // Whether the store keeps values of this kind.
    static bool isStorable(const QVariant& value);

private:
    std::unique_ptr<QSettings> m_settings;
};
