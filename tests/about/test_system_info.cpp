#include "about/system_info.h"
#include "in_memory_registry.h"
#include "recorders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pigmora;
using namespace pigmora::test;

namespace {

const QByteArray firstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray secondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString unavailable = "Systeminformationen sind momentan nicht verfügbar";

QByteArray number(std::uint32_t n) {
    const char bytes[4] = {char(n & 0xFF), char(n >> 8 & 0xFF), char(n >> 16 & 0xFF),
                           char(n >> 24 & 0xFF)};
    return QByteArray(bytes, 4);
}

} // namespace

class TestSystemInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName("Pigmora"); }
    void getKeyValue_data();
    void getKeyValue();
    void valueOfNoBytesIsRunTimeFailure();
    void readOnlyKeyIsRead();
    void startSysInfo_data();
    void startSysInfo();
    void platformRegistryHasNoKeys();
    void launcherStartsWholePath_data();
    void launcherStartsWholePath();
    void launcherFailures();
};

void TestSystemInfo::getKeyValue_data() {
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<bool>("valueExists");
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("value"); // it was "vorher" before the call
    const auto row = [](const char* name, bool key, bool value, uint type, QByteArray bytes,
                        bool result, QString text) {
        QTest::newRow(name) << key << value << type << bytes << result << text;
    };
    row("text with its zero byte", true, true, 1, QByteArray("C:\\MSINFO32.EXE\0", 16), true,
        "C:\\MSINFO32.EXE");
    row("text without zero byte", true, true, 1, "C:\\MSINFO32.EXE", true, "C:\\MSINFO32.EXE");
    row("only the last zero byte goes", true, true, 1, QByteArray("ab\0\0", 4), true,
        QString::fromLatin1("ab\0", 3));
    row("empty text", true, true, 1, QByteArray(1, '\0'), true, "");
    row("ANSI letters", true, true, 1, "Gr\xFCn", true, "Grün");
    row("1024 bytes fit", true, true, 1, QByteArray(1024, 'x'), true, QString(1024, 'x'));
    row("1025 bytes do not", true, true, 1, QByteArray(1025, 'x'), false, "");
    row("number", true, true, 4, number(256), true, "256");
    row("number zero", true, true, 4, number(0), true, "0");
    row("number with the top bit", true, true, 4, number(0x80000000), true, "2147483648");
    row("other type keeps the value", true, true, 3, "\x01\x02", true, "vorher");
    row("expandable text keeps the value", true, true, 2, QByteArray("%WINDIR%\0", 9), true,
        "vorher");
    row("missing value", true, false, 1, "", false, "");
    row("missing key", false, false, 1, "", false, "");
}

void TestSystemInfo::getKeyValue() {
    QFETCH(bool, keyExists);
    QFETCH(bool, valueExists);
    QFETCH(uint, type);
    QFETCH(QByteArray, bytes);
    auto registry = std::make_shared<InMemoryRegistry>();
    if (keyExists)
        registry->addKey("Schl\xFCssel"); // names reach the registry in ANSI
    if (valueExists)
        registry->setValue("Schl\xFCssel", "Wert", {type, bytes});
    SystemInfo info({.registry = registry});
    QString value = "vorher";
    QTEST(info.GetKeyValue(hkeyLocalMachine, "Schlüssel", "Wert", value), "result");
    QTEST(value, "value");
    QVERIFY(registry->openHandles.isEmpty());
    QCOMPARE(registry->badCloses, 0);
}

void TestSystemInfo::valueOfNoBytesIsRunTimeFailure() {
    auto registry = std::make_shared<InMemoryRegistry>();
    registry->setValue("K", "V", {regSz, {}});
    SystemInfo info({.registry = registry});
    QString value = "vorher";
    QVERIFY_THROWS_EXCEPTION(EmptyRegistryValue,
                             info.GetKeyValue(hkeyLocalMachine, "K", "V", value));
    QCOMPARE(value, "vorher");
    QVERIFY(registry->openHandles.isEmpty());
}

// Opening with write rights is refused for a user who may only read the key; the look-up asks
// for read rights only, so it works for such a user.
void TestSystemInfo::readOnlyKeyIsRead() {
    auto registry = std::make_shared<InMemoryRegistry>();
    registry->addKey("K", true);
    registry->setText("K", "V", "Wert");
    RegKey key = 0;
    QCOMPARE(registry->openKey(hkeyLocalMachine, "K", 0, 0x2003F, key), errorAccessDenied);
    SystemInfo info({.registry = registry});
    QString value;
    QVERIFY(info.GetKeyValue(hkeyLocalMachine, "K", "V", value));
    QCOMPARE(value, "Wert");
}

enum Folder { NoSecondKey, EmptyFolder, FolderWithProgram, ProgramIsDirectory };

void TestSystemInfo::startSysInfo_data() {
    QTest::addColumn<bool>("withPath");   // the first key, holding "PATH"
    QTest::addColumn<QByteArray>("path"); // the bytes of "PATH"
    QTest::addColumn<int>("folder");      // what the second key names
    QTest::addColumn<bool>("readOnly");   // both keys
    QTest::addColumn<bool>("launcherFails");
    QTest::addColumn<QStringList>("started"); // every start tried; <folder> for the folder
    QTest::addColumn<bool>("secondKeyAsked");
    QTest::addColumn<bool>("message");
    const QByteArray wrongPath("C:\\fehlt\\msinfo32.exe\0", 22);
    const QStringList startedWrongPath{"C:\\fehlt\\msinfo32.exe"};
    const QStringList startedInFolder{"<folder>" + QString(QDir::separator()) + "MSINFO32.EXE"};
    const auto row = [](const char* name, bool withPath, QByteArray path, Folder folder,
                        bool readOnly, bool launcherFails, QStringList started, bool second,
                        bool message) {
        QTest::newRow(name) << withPath << path << int(folder) << readOnly << launcherFails
                            << started << second << message;
    };
    row("PATH wins without existence test", true, wrongPath, FolderWithProgram, false, false,
        startedWrongPath, false, false);
    row("program in the second location", false, {}, FolderWithProgram, false, false,
        startedInFolder, true, false);
    row("read-only keys", false, {}, FolderWithProgram, true, false, startedInFolder, true, false);
    row("PATH too long", true, QByteArray(1100, 'x'), FolderWithProgram, false, false,
        startedInFolder, true, false);
    row("program absent", false, {}, EmptyFolder, false, false, {}, true, true);
    row("directory of the program's name", false, {}, ProgramIsDirectory, false, false, {}, true,
        true);
    row("no keys", false, {}, NoSecondKey, false, false, {}, true, true);
    row("empty PATH", true, QByteArray(1, '\0'), FolderWithProgram, false, false, {""}, false,
        true);
    row("PATH of no bytes", true, {}, FolderWithProgram, false, false, {}, false, true);
    row("launcher fails", true, wrongPath, NoSecondKey, false, true, startedWrongPath, false, true);
}

void TestSystemInfo::startSysInfo() {
    QFETCH(bool, withPath);
    QFETCH(QByteArray, path);
    QFETCH(int, folder);
    QFETCH(bool, readOnly);
    QFETCH(bool, launcherFails);
    QFETCH(QStringList, started);
    QFETCH(bool, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath("MSINFO32.EXE");
    if (folder == FolderWithProgram) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (folder == ProgramIsDirectory) {
        QVERIFY(QDir().mkdir(program));
    }
    auto registry = std::make_shared<InMemoryRegistry>();
    if (withPath) {
        registry->addKey(firstKey, readOnly);
        registry->setValue(firstKey, "PATH", {regSz, path});
    }
    if (folder != NoSecondKey) {
        registry->addKey(secondKey, readOnly);
        registry->setText(secondKey, "MSINFO", QDir::toNativeSeparators(dir.path()).toLatin1());
    }
    auto launcher = std::make_shared<RecordingLauncher>(launcherFails);
    MessageRecorder messages;
    SystemInfo info({registry, launcher, messages.display()});
    QWidget owner;
    info.StartSysInfo(&owner);

    started.replaceInStrings("<folder>", QDir::toNativeSeparators(dir.path()));
    QCOMPARE(launcher->started, started);
    QCOMPARE(registry->keysAsked.first(), firstKey);
    QTEST(registry->keysAsked.contains(secondKey), "secondKeyAsked");
    QCOMPARE(messages.shown.size(), message ? 1 : 0);
    if (message) {
        QCOMPARE(messages.shown[0].text, unavailable);
        QCOMPARE(messages.shown[0].title, "Pigmora");
        QCOMPARE(messages.shown[0].owner, &owner);
    }
    QVERIFY(registry->openHandles.isEmpty());
    QCOMPARE(registry->badCloses, 0);
}

void TestSystemInfo::platformRegistryHasNoKeys() {
#ifdef Q_OS_WIN
    QSKIP("Windows has the real registry");
#endif
    auto launcher = std::make_shared<RecordingLauncher>();
    MessageRecorder messages;
    SystemInfo info({.launcher = launcher, .showMessage = messages.display()});
    info.StartSysInfo(nullptr);
    QVERIFY(launcher->started.isEmpty());
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, unavailable);
}

void TestSystemInfo::launcherStartsWholePath_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("blank") << "Program Files/msinfo 32";
    QTest::newRow("shell characters") << "tools;x/$(msinfo) 'a' \"b\"";
}

// A shell, or a split at the blank, would start something else or nothing; the script writes
// how many arguments it got next to itself.
void TestSystemInfo::launcherStartsWholePath() {
#ifndef Q_OS_UNIX
    QSKIP("needs a shell script as the program");
#endif
    QFETCH(QString, path);
    QTemporaryDir dir;
    const QString program = dir.filePath(path);
    QVERIFY(QDir().mkpath(QFileInfo(program).path()));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho $# > \"$0.ran\"\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));

    QVERIFY(ProcessLauncher().start(program));
    QFile ran(program + ".ran");
    QTRY_VERIFY(ran.exists() && ran.size() > 0);
    QVERIFY(ran.open(QIODevice::ReadOnly));
    QCOMPARE(ran.readAll(), "0\n");
}

void TestSystemInfo::launcherFailures() {
    QTemporaryDir dir;
    QFile plain(dir.filePath("kein Programm"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    ProcessLauncher launcher;
    QVERIFY(!launcher.start(""));
    QVERIFY(!launcher.start(dir.filePath("fehlt.exe")));
#ifdef Q_OS_UNIX
    QVERIFY(!launcher.start(plain.fileName())); // not executable
#endif
}

QTEST_MAIN(TestSystemInfo)
#include "test_system_info.moc"
