#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace lumotest {

// Points HOME and the XDG directories at a fresh temporary folder, so no test reads or writes
// the real user's settings, thumbnails or trash. Must exist before the application object.
class IsolatedHome
{
public:
    IsolatedHome();
    ~IsolatedHome();
    QString path() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Registers the application as the program does (names, icon theme), after QApplication exists,
// as far as the layers the test links reach (support/testinit.cpp).
void initApplication();

// Writes the settings while the temporary home still exists: written at exit, they would make
// its folder anew and leave it behind.
void flushSettings();

// ../shared/corpus/<sub> when present, else an empty string (tests QSKIP then).
QString corpusDir(const QString& sub);

// tests/data/<sub>: files kept with the tests, such as fuzz seeds and regressions.
QString dataDir(const QString& sub);

// Adds the rows of the table tests/data/tables/<name> to the current _data function: a line
// "columns: name:type ..." names the columns, then each line is "row name | value | value ...".
// Types: string, int, qint64, bool, size (WxH; empty: no size), hex (bytes), file (the bytes of
// tests/data/samples/<value>), ints (a comma list as QVector<int>; hex words such as colours
// too). Lines beginning with # are notes.
void addRows(const QString& name);

// Runs "<test function>:<row>" of this test executable again as the unprivileged user nobody,
// for rows whose outcome rests on permissions, which do not stop the superuser. Its exit code:
// 0 when the row passed.
int runAsNobody(const QString& functionAndRow);

// The bytes of a file; empty when it cannot be read.
QByteArray contents(const QString& path);

// A horizontal colour ramp, so that lossy formats and qualities make a difference.
QImage rampImage(const QSize& size);
// rampImage() written to path, in the given format or the one its suffix names.
bool writePicture(const QString& path, const QSize& size, const char* format = nullptr);

// A picture of one colour written to path (its folder made), in the format its suffix names;
// the path, or an empty string when it could not be written.
QString writeSolid(const QString& path, const QSize& size, const QColor& colour);

// The file Qt writes of the image in that format, at the writer's default quality unless given.
QByteArray encoded(const QImage& image, const char* format, int quality = -1);

} // namespace lumotest

#define LUMO_TEST_MAIN(TestObject)                                                                 \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        lumotest::IsolatedHome home;                                                               \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        lumotest::initApplication();                                                               \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        const int result = QTest::qExec(&tc, argc, argv);                                          \
        lumotest::flushSettings();                                                                 \
        return result;                                                                             \
    }
