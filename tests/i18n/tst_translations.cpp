// Checks translations/R7Assistant.ts, the English translation of the program's Chinese (and some
// English) source texts: every message is translated, keeps the placeholders of its source, and
// every tr() text in the sources has an entry in the file.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#ifndef R7_TS_FILE
#error "R7_TS_FILE must name translations/R7Assistant.ts"
#endif
#ifndef R7_SOURCE_ROOT
#error "R7_SOURCE_ROOT must name the project root"
#endif
#ifndef R7_LUPDATE
#define R7_LUPDATE "/usr/lib/qt6/bin/lupdate"
#endif

namespace {

// The folders tools/update-translations scans, relative to the project root.
const char *const kSourceFolders[] = {"app", "link", "ui", "update", "config", "widgets", "blackbox"};

struct Message
{
    QString context;
    QString source;
    QString comment;     // disambiguation, part of the key
    QString type;        // translation's type attribute: "", "unfinished", "vanished", "obsolete"
    bool numerus = false;
    QStringList forms;   // the translation, or its numerus forms
    qint64 line = 0;

    QString key() const { return context + QChar(0x1f) + source + QChar(0x1f) + comment; }
    QString label() const
    {
        QString text = context + QStringLiteral(": \"") + source + QLatin1Char('"');
        if (!comment.isEmpty())
            text += QStringLiteral(" (") + comment + QLatin1Char(')');
        return text;
    }
    bool live() const { return type != QLatin1String("vanished") && type != QLatin1String("obsolete"); }
};

void readMessage(QXmlStreamReader &xml, const QString &context, QList<Message> &out)
{
    Message m;
    m.context = context;
    m.line = xml.lineNumber();
    m.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("source")) {
            m.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            m.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            if (m.numerus) {
                while (xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("numerusform"))
                        m.forms << xml.readElementText();
                    else
                        xml.skipCurrentElement();
                }
            } else {
                m.forms << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    out << m;
}

// Reads every <message> of a Qt Linguist file; false (with a reason) when the file is unusable.
bool readTs(const QString &path, QList<Message> &out, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("TS")) {
        error = QStringLiteral("%1 is not a Qt Linguist file").arg(path);
        return false;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("context")) {
            xml.skipCurrentElement();
            continue;
        }
        QString context;
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("message"))
                readMessage(xml, context, out);
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError()) {
        error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    return true;
}

// The placeholders QString::arg() and tr(..., n) fill in: %1..%99 (also as %L1) and %n.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("%L?([1-9][0-9]?|n)"));
    QSet<QString> found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found.insert(QLatin1Char('%') + it.next().captured(1));
    QStringList list(found.begin(), found.end());
    list.sort();
    return list;
}

} // namespace

class TstTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void messageIsTranslated_data();
    void messageIsTranslated();
    void sourceTextsAreInTheFile();

private:
    QList<Message> m_messages;
};

void TstTranslations::initTestCase()
{
    QString error;
    QVERIFY2(readTs(QStringLiteral(R7_TS_FILE), m_messages, error), qPrintable(error));
    QVERIFY2(!m_messages.isEmpty(), R7_TS_FILE " holds no message");
}

void TstTranslations::messageIsTranslated_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_messages.size(); ++i) {
        if (m_messages.at(i).live())
            QTest::addRow("%s", qPrintable(m_messages.at(i).label())) << i;
    }
}

void TstTranslations::messageIsTranslated()
{
    QFETCH(int, index);
    const Message &m = m_messages.at(index);
    const QString where = QStringLiteral(R7_TS_FILE ":%1: ").arg(m.line) + m.label();

    QVERIFY2(m.type != QLatin1String("unfinished"),
             qPrintable(where + QStringLiteral(" is unfinished")));
    QVERIFY2(!m.forms.isEmpty(), qPrintable(where + QStringLiteral(" has no translation")));

    const QStringList expected = placeholders(m.source);
    for (const QString &form : m.forms) {
        QVERIFY2(!form.trimmed().isEmpty(),
                 qPrintable(where + QStringLiteral(" has an empty translation")));
        const QStringList got = placeholders(form);
        QVERIFY2(got == expected,
                 qPrintable(where + QStringLiteral(": placeholders {%1} in \"%2\", the source has {%3}")
                                        .arg(got.join(QLatin1Char(' ')), form,
                                             expected.join(QLatin1Char(' ')))));
    }
}

// A tr() text added to the sources without refreshing and translating the file fails here.
void TstTranslations::sourceTextsAreInTheFile()
{
    const QString lupdate = QStringLiteral(R7_LUPDATE);
    if (!QFileInfo(lupdate).isExecutable())
        QSKIP(qPrintable(lupdate + QStringLiteral(" is not installed")));

    const QDir root(QStringLiteral(R7_SOURCE_ROOT));
    QStringList folders;
    for (const char *folder : kSourceFolders) {
        if (root.exists(QLatin1String(folder)))
            folders << QLatin1String(folder);
    }
    QVERIFY2(!folders.isEmpty(), "no source folder found under " R7_SOURCE_ROOT);

    QTemporaryDir tmp;
    QVERIFY2(tmp.isValid(), qPrintable(tmp.errorString()));
    const QString scanned = tmp.filePath(QStringLiteral("scanned.ts"));

    QProcess process;
    process.setWorkingDirectory(root.absolutePath());
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList args{QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("-no-obsolete"),
                     QStringLiteral("-source-language"), QStringLiteral("zh_CN"),
                     QStringLiteral("-target-language"), QStringLiteral("en_US")};
    args << folders << QStringLiteral("-ts") << scanned;
    process.start(lupdate, args);
    QVERIFY2(process.waitForFinished(90000), qPrintable(lupdate + QStringLiteral(" did not finish")));
    const QString output = QString::fromLocal8Bit(process.readAll());
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(lupdate + QStringLiteral(" failed:\n") + output));

    QList<Message> inSources;
    QString error;
    QVERIFY2(readTs(scanned, inSources, error), qPrintable(error));
    QVERIFY2(!inSources.isEmpty(), qPrintable(QStringLiteral("lupdate found no text:\n") + output));

    QSet<QString> committed;
    for (const Message &m : std::as_const(m_messages)) {
        if (m.live())
            committed.insert(m.key());
    }
    QStringList missing;
    for (const Message &m : std::as_const(inSources)) {
        if (!committed.contains(m.key()))
            missing << QStringLiteral("  ") + m.label();
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("%1 source text(s) missing from " R7_TS_FILE
                                       " (run tools/update-translations and translate them):\n")
                            .arg(missing.size())
                        + missing.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TstTranslations)
#include "tst_translations.moc"
