// The string tables "Localizable" in English, Korean and Japanese: their sources
// (.ts) and the compiled tables (.qm) the application loads.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <array>

namespace {

const QStringList kLanguages = {QStringLiteral("en"), QStringLiteral("ko"), QStringLiteral("ja")};

// Every key the application passes to the table.
const QStringList kKeys = {
    QStringLiteral("All"),
    QStringLiteral("Normal"),
    QStringLiteral("Event"),
    QStringLiteral("Parking"),
    QStringLiteral("Motion"),
    QStringLiteral("Camcorder"),
    QStringLiteral("Myfolder"),
    QStringLiteral("AI"),
    QStringLiteral("Etc."),
    QStringLiteral("충격센서"),
    QStringLiteral("속도"),
    QStringLiteral("Video Playback Error"),
    QStringLiteral("Can't Play File"),
    QStringLiteral("Path Component Error"),
    QStringLiteral("Please open another directory."),
    QStringLiteral("Please choose another directory.."),
    QStringLiteral("Unknown error"),
    QStringLiteral("해당 영상에 GPS 정보가 없습니다."),
    QStringLiteral("외장 GPS의 연결을 확인해 주세요."),
    QStringLiteral("지도를 표시할 수 없습니다."),
    QStringLiteral("인터넷 연결을 확인해 주세요."),
    QStringLiteral("Update to the latest version of KavrinPlayer.\n update now?"),
    QStringLiteral("Notify"),
    QStringLiteral("Player Version"),
    QStringLiteral("The Language has changed."),
    QStringLiteral("Please restart Kavrin Player"),
    QStringLiteral("펌웨어 업데이트"),
    QStringLiteral("현재 설치되어 있는 버전이 최신 펌웨어 입니다."),
    QStringLiteral("다운로드가 실패되었습니다. 다시 시도해 주세요."),
    QStringLiteral("펌웨어 파일이 이미 존재합니다."),
    QStringLiteral("안전운전도우미 업데이트"),
    QStringLiteral("안전운전도우미 파일이 이미 존재합니다."),
    QStringLiteral("다운로드가 완료되었습니다.\n적용하시려면 다운로드 받은 메모리카드를 블랙박스에 삽입 후 "
                   "전원을 인가해 주세요."),
    // Why a download or an unpacking failed.
    QStringLiteral("The server answered with error %1."),
    QStringLiteral("The server redirected the request too many times."),
    QStringLiteral("The server stopped sending data."),
    QStringLiteral("The server did not send the whole page in time."),
    QStringLiteral("The connection broke off before the whole file arrived."),
    QStringLiteral("There is not enough free space on the memory card."),
    QStringLiteral("There is not enough free space to save the file."),
    QStringLiteral("The memory card cannot be found."),
    QStringLiteral("The destination folder cannot be found."),
    QStringLiteral("The file could not be written: no permission or a read-only disk."),
    QStringLiteral("The file could not be written."),
    QStringLiteral("The downloaded package is damaged or is not a zip archive."),
    QStringLiteral(
        "The package holds links or names that lead outside the memory card, so it was not unpacked."),
    QStringLiteral(
        "The package holds a file named like the player's own temporary files, so it was not unpacked."),
    QStringLiteral("The package is too large to unpack."),
    QStringLiteral("The package could not be unpacked; the memory card was left as it was."),
    QStringLiteral("The firmware version page could not be read."),
    QStringLiteral("The update could not be downloaded."),
    QStringLiteral("Date"),
    QStringLiteral("Time"),
    QStringLiteral("Channel"),
    QStringLiteral("Location"),
    QStringLiteral("Choose video file or directory"),
    QStringLiteral("GPS On"),
    QStringLiteral("GPS Off"),
    QStringLiteral("ALL"),
    // The texts of the settings, update and download screens.
    QStringLiteral("Settings"),
    QStringLiteral("Language"),
    QStringLiteral("Check for a new version at start-up"),
    QStringLiteral("Memory card"),
    QStringLiteral("Memory card downloads"),
    QStringLiteral("Firmware"),
    QStringLiteral("Speed cameras"),
    QStringLiteral("Close"),
    QStringLiteral("Confirm"),
    QStringLiteral("Update"),
    QStringLiteral("Cancel"),
    QStringLiteral("Downloading the installer"),
    QStringLiteral("Download"),
    QStringLiteral("This service is not configured."),
    // Still capture: the context menu, the alerts, the folder panel and the capture screen.
    QStringLiteral("Save a still image"),
    QStringLiteral("Back up with sound"),
    QStringLiteral("Back up video only"),
    // Clip backups: their alerts and notice, and why a file could not be written.
    QStringLiteral("You don't have permission to write in this folder."),
    QStringLiteral("The folder is on a read-only disk."),
    QStringLiteral("No space left on device."),
    QStringLiteral("The file is too large for the disk."),
    QStringLiteral("The folder does not exist."),
    QStringLiteral("A folder of the same name is in the way."),
    QStringLiteral("Backup Error"),
    QStringLiteral("These backup files could not be written:"),
    QStringLiteral("No video stream could be read from the recording."),
    QStringLiteral("The ffmpeg tool was not found."),
    QStringLiteral("The video could not be copied."),
    QStringLiteral("This is not a file name."),
    QStringLiteral("The recording cannot be read: it is not a regular file."),
    QStringLiteral("Backup Complete"),
    QStringLiteral("The backup was saved in the folder “%1”:"),
    QStringLiteral("The recording has no sound: the video was copied without it."),
    QStringLiteral("Capture Failed"),
    QStringLiteral("The video frame could not be read."),
    QStringLiteral("The player window could not be captured."),
    QStringLiteral("The file “%1” could not be saved in the folder “%2”."),
    QStringLiteral("Choose directory to save"),
    QStringLiteral("Set"),
    QStringLiteral("Capture"),
    QStringLiteral("Save a still image of"),
    QStringLiteral("The player window"),
    QStringLiteral("The video"),
    QStringLiteral("The video and the map"),
    QStringLiteral("Save to"),
    QStringLiteral("Change…"),
};

// Every translatable text of the storyboard's screens (.ui files): the
// <string> elements not marked notr="true", in file order.
QStringList storyboardKeys() {
    QStringList keys;
    const QDir folder(QStringLiteral(KAVRIN_SOURCE_DIR "/resources/storyboard"));
    for (const QString& name : folder.entryList({QStringLiteral("*.ui")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("string"))
                continue;
            const bool translatable = xml.attributes().value(QLatin1String("notr")) != QLatin1String("true");
            const QString text = xml.readElementText();
            if (translatable && !text.trimmed().isEmpty() && !keys.contains(text))
                keys.append(text);
        }
    }
    return keys;
}

// Every key of the tables: the application's and the storyboard's.
QStringList allKeys() {
    QStringList keys = kKeys;
    for (const QString& key : storyboardKeys()) {
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}

// Keys that stay as they are in a language (names, and what that language writes the same way).
bool staysAsItIs(const QString& lang, const QString& key) {
    return key == QLatin1String("AI") || (lang == QLatin1String("ja") && key == QLatin1String("OK"));
}

QString sourceTable(const QString& lang) {
    return QStringLiteral(KAVRIN_SOURCE_DIR "/resources/translations/Localizable_%1.ts").arg(lang);
}

QString compiledTable(const QString& lang) {
    return QStringLiteral(KAVRIN_BINARY_DIR "/resources/translations/Localizable_%1.qm").arg(lang);
}

struct Table {
    QString error;
    QStringList contexts;
    QMap<QString, QString> messages; // source -> translation
    QStringList duplicates;
};

Table readTable(const QString& path) {
    Table table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        table.error = QStringLiteral("cannot open ") + path;
        return table;
    }
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            table.contexts << xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            if (table.messages.contains(source))
                table.duplicates << source;
            table.messages.insert(source, xml.readElementText());
        }
    }
    if (xml.hasError())
        table.error = xml.errorString();
    return table;
}

bool hasHangul(const QString& text) {
    static const QRegularExpression hangul(QStringLiteral("[\\x{AC00}-\\x{D7A3}]"));
    return hangul.match(text).hasMatch();
}

bool hasKana(const QString& text) {
    static const QRegularExpression kana(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
    return kana.match(text).hasMatch();
}

// Every text the code looks up and every text a screen of the storyboard
// shows is in every table, written in that language's script.
TEST(LocalizableTable, EveryKeyIsTranslatedInEveryLanguage) {
    const QStringList keys = allKeys();
    ASSERT_GT(storyboardKeys().size(), 60) << "the storyboard's texts were not found";
    for (const QString& lang : kLanguages) {
        SCOPED_TRACE(lang.toStdString());
        const Table table = readTable(sourceTable(lang));
        ASSERT_TRUE(table.error.isEmpty()) << table.error.toStdString();
        EXPECT_EQ(table.contexts, QStringList{QStringLiteral("Localizable")});
        EXPECT_TRUE(table.duplicates.isEmpty()) << table.duplicates.join(QLatin1Char('|')).toStdString();
        for (const QString& key : keys) {
            SCOPED_TRACE(key.toStdString());
            if (!table.messages.contains(key)) {
                ADD_FAILURE() << "missing from the table";
                continue;
            }
            const QString text = table.messages.value(key);
            EXPECT_FALSE(text.trimmed().isEmpty());
            // A line break in the key stays a line break in every language.
            EXPECT_EQ(key.contains(QLatin1Char('\n')), text.contains(QLatin1Char('\n')));
            const bool ownScript = !staysAsItIs(lang, key);
            if (lang == QLatin1String("en")) {
                EXPECT_FALSE(hasHangul(text) || hasKana(text));
            } else if (lang == QLatin1String("ko")) {
                EXPECT_FALSE(hasKana(text));
                EXPECT_TRUE(!ownScript || hasHangul(text));
            } else {
                EXPECT_FALSE(hasHangul(text));
                EXPECT_TRUE(!ownScript || hasKana(text));
            }
        }
        EXPECT_EQ(table.messages.size(), keys.size())
            << "keys in the table that the application does not use";
    }
}

// Whether `text` uses `name`: anywhere in a Japanese text, where a word begins in the other
// languages (so that "동영상" does not count as "영상").
bool usesName(const QString& lang, const QString& text, const QString& name) {
    if (lang == QLatin1String("ja"))
        return text.contains(name, Qt::CaseInsensitive);
    const QRegularExpression word(QStringLiteral("(?<!\\p{L})") + QRegularExpression::escape(name),
                                  QRegularExpression::CaseInsensitiveOption);
    return word.match(text).hasMatch();
}

// A thing has one name in each language: where a short text names it (a tab, a
// button), every other text about it uses that same name.
TEST(LocalizableTable, EachLanguageCallsAThingByOneName) {
    // How each language writes a name that no text holds alone (en, ko, ja); an empty name
    // leaves that language's texts unchecked.
    using Spelled = std::array<const char*, 3>;
    struct Term {
        const char* what;
        QString name;       // the key whose text is the name (or none when `spelled` gives it)
        QStringList usedIn; // keys whose texts use the name
        bool wholeText;     // the texts are the name itself, not sentences with it
        Spelled spelled = {};
    };
    const Term terms[] = {
        {"G-sensor", QStringLiteral("충격센서"), {"G-SENSOR"}, true},
        {"speed-camera data",
         QStringLiteral("Speed cameras"),
         {"안전운전도우미 업데이트", "안전운전도우미 파일이 이미 존재합니다."},
         false},
        {"firmware",
         QStringLiteral("Firmware"),
         {"펌웨어 업데이트", "펌웨어 파일이 이미 존재합니다.",
          "현재 설치되어 있는 버전이 최신 펌웨어 입니다."},
         false},
        {"memory card",
         QStringLiteral("Memory card"),
         {"Memory card downloads", "다운로드가 완료되었습니다.\n적용하시려면 다운로드 받은 메모리카드를 "
                                   "블랙박스에 삽입 후 전원을 인가해 주세요."},
         false},
        {"player window",
         QStringLiteral("The player window"),
         {"The player window could not be captured."},
         false},
        {"video and sound",
         {},
         {"Video and sound", "Back up with sound"},
         false,
         {"", "영상과 소리", "映像と音声"}},
        {"still image",
         {},
         {"Save a still image", "Save a still image of"},
         false,
         {"still image", "스틸 이미지", "静止画"}},
        {"video",
         {},
         {"Video Playback Error", "The video", "Back up video only", "The video could not be copied.",
          "No video stream could be read from the recording.", "Choose video file or directory"},
         false,
         {"video", "영상", "映像"}},
        {"folder",
         {},
         {"Myfolder", "Open a folder", "You don't have permission to write in this folder.",
          "The folder is on a read-only disk.", "The folder does not exist.",
          "A folder of the same name is in the way.", "The destination folder cannot be found.",
          "The backup was saved in the folder \u201C%1\u201D:",
          "The file \u201C%1\u201D could not be saved in the folder \u201C%2\u201D."},
         false,
         {"folder", "폴더", "フォルダー"}},
        // The folder panels' own texts say "directory" in English.
        {"folder (panels)",
         {},
         {"Please open another directory.", "Please choose another directory..",
          "Choose video file or directory", "Choose directory to save"},
         false,
         {"directory", "폴더", "フォルダー"}},
    };
    for (qsizetype l = 0; l < kLanguages.size(); ++l) {
        const QString& lang = kLanguages[l];
        const Table table = readTable(sourceTable(lang));
        ASSERT_TRUE(table.error.isEmpty()) << table.error.toStdString();
        for (const Term& term : terms) {
            SCOPED_TRACE(lang.toStdString() + " " + term.what);
            const QString name =
                term.name.isEmpty() ? QString::fromUtf8(term.spelled[l]) : table.messages.value(term.name);
            if (term.name.isEmpty() && name.isEmpty())
                continue;
            ASSERT_FALSE(name.isEmpty());
            for (const QString& key : term.usedIn) {
                ASSERT_TRUE(table.messages.contains(key)) << key.toStdString();
                const QString text = table.messages.value(key);
                if (term.wholeText)
                    EXPECT_EQ(text.toStdString(), name.toStdString());
                else
                    EXPECT_TRUE(usesName(lang, text, name)) << text.toStdString();
            }
        }
    }
}

// Japanese texts quote with 「」 and use full-width punctuation; a full stop
// stands only inside a number.
TEST(LocalizableTable, JapaneseTextsUseJapanesePunctuation) {
    const Table table = readTable(sourceTable(QStringLiteral("ja")));
    ASSERT_TRUE(table.error.isEmpty()) << table.error.toStdString();
    static const QRegularExpression foreign(
        QStringLiteral("[\"'\\x{2018}\\x{2019}\\x{201C}\\x{201D}:;!?,()]|\\.(?!\\d)|(?<!\\d)\\."));
    for (auto it = table.messages.cbegin(); it != table.messages.cend(); ++it) {
        const QRegularExpressionMatch match = foreign.match(it.value());
        EXPECT_FALSE(match.hasMatch()) << it.key().toStdString() << ": " << it.value().toStdString() << " ("
                                       << match.captured().toStdString() << ")";
    }
}

TEST(LocalizableTable, CompiledTablesTranslateThroughQtTranslator) {
    struct Case {
        const char* lang;
        QString key;
        QString expected;
    };
    const Case cases[] = {
        {"ko", QStringLiteral("All"), QStringLiteral("전체")},
        {"ko", QStringLiteral("Etc."), QStringLiteral("기타")},
        {"ko", QStringLiteral("Video Playback Error"), QStringLiteral("영상 재생 오류")},
        {"ko", QStringLiteral("속도"), QStringLiteral("속도")},
        {"ja", QStringLiteral("Event"), QStringLiteral("イベント")},
        {"ko", QStringLiteral("Zoom"), QStringLiteral("확대")},
        {"ko", QStringLiteral("Search district"), QStringLiteral("지역 검색")},
        {"ja", QStringLiteral("G-SENSOR"), QStringLiteral("Gセンサー")},
        {"en", QStringLiteral("Model"), QStringLiteral("Model")},
        {"ja", QStringLiteral("펌웨어 업데이트"), QStringLiteral("ファームウェアのアップデート")},
        {"en", QStringLiteral("충격센서"), QStringLiteral("G-sensor")},
        {"en", QStringLiteral("인터넷 연결을 확인해 주세요."),
         QStringLiteral("Please check your internet connection.")},
        {"en", QStringLiteral("Update to the latest version of KavrinPlayer.\n update now?"),
         QStringLiteral("Update to the latest version of KavrinPlayer.\nUpdate now?")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lang + std::string(" ") + c.key.toStdString());
        const QString path = compiledTable(QString::fromLatin1(c.lang));
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        QTranslator translator;
        ASSERT_TRUE(translator.load(path));
        ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
        const QByteArray key = c.key.toUtf8();
        EXPECT_EQ(QCoreApplication::translate("Localizable", key.constData()), c.expected);
        // A text that is no key comes back unchanged.
        EXPECT_EQ(QCoreApplication::translate("Localizable", "FilePath : /tmp/a.mp4"),
                  QStringLiteral("FilePath : /tmp/a.mp4"));
        QCoreApplication::removeTranslator(&translator);
    }
}

} // namespace
