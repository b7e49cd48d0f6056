#include "ui/UpdateHint.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

namespace {

// Stands in for the English translation file.
class EnglishTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "UpdateHint") != 0)
            return {};
        const QString source = QString::fromUtf8(sourceText);
        if (source == QStringLiteral("更新提示"))
            return QStringLiteral("Update notice");
        if (source == QStringLiteral("软件有新版本可用，请及时更新！"))
            return QStringLiteral("A new version is available, please update!");
        if (source == QStringLiteral("链接："))
            return QStringLiteral("Link:");
        if (source == QStringLiteral("确定"))
            return QStringLiteral("OK");
        return {};
    }
    bool isEmpty() const override { return false; }
};

struct Anchor
{
    QString href;
    QString text;
};

// The anchors of a label's rich text, as the label's own text engine reads them.
QList<Anchor> anchorsOf(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QList<Anchor> anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isAnchor())
                anchors.append({fragment.charFormat().anchorHref(), fragment.text()});
        }
    }
    return anchors;
}

QColor pixel(const QImage &image, QPoint at)
{
    return image.pixelColor(at);
}

bool near(const QColor &a, const QColor &b, int tolerance = 6)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
           && qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

} // namespace

class TestUpdateHint : public QObject
{
    Q_OBJECT

private:
    QWidget *m_window = nullptr;
    UpdateHint *m_hint = nullptr;

    template<typename T>
    T *child(const char *name) const
    {
        return m_hint->findChild<T *>(QLatin1String(name));
    }

private slots:
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        m_window = new QWidget;
        m_window->resize(867, 751);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_hint = new UpdateHint(m_window);
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        m_hint = nullptr;
    }

    void objectNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::newRow("widgetMain") << "widgetMain"
                                    << "QWidget";
        QTest::newRow("lblTable") << "lblTable"
                                  << "QLabel";
        QTest::newRow("lblHint") << "lblHint"
                                 << "QLabel";
        QTest::newRow("lblLink") << "lblLink"
                                 << "QLabel";
        QTest::newRow("lblUrlValue") << "lblUrlValue"
                                     << "QLabel";
        QTest::newRow("btnOK") << "btnOK"
                               << "QPushButton";
    }

    void objectNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QWidget *widget = m_hint->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    }

    void dialogShape()
    {
        QCOMPARE(m_hint->objectName(), QStringLiteral("UpdateHint"));
        QCOMPARE(m_hint->parentWidget(), m_window);
        QCOMPARE(m_hint->size(), QSize(368, 200));
        QVERIFY(m_hint->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_hint->windowType(), Qt::Dialog);
        QCOMPARE(m_hint->windowModality(), Qt::WindowModal);
        QVERIFY(m_hint->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!m_hint->isVisible()); // only showUpdateLink shows it
        QVERIFY(child<QLabel>("lblUrlValue")->openExternalLinks());
        QCOMPARE(child<QLabel>("lblUrlValue")->textFormat(), Qt::RichText);
        QVERIFY(child<QLabel>("lblTable")->minimumHeight() >= 40);
        QCOMPARE(child<QLabel>("lblHint")->height(), 35);
        QVERIFY(child<QLabel>("lblLink")->maximumWidth() <= 80);
    }

    void chineseTexts()
    {
        QCOMPARE(child<QLabel>("lblTable")->text(), QStringLiteral("更新提示"));
        QCOMPARE(child<QLabel>("lblHint")->text(),
                 QStringLiteral("软件有新版本可用，请及时更新！"));
        QCOMPARE(child<QLabel>("lblLink")->text(), QStringLiteral("链接："));
        QCOMPARE(child<QPushButton>("btnOK")->text(), QStringLiteral("确定"));
    }

    void followsLanguageChange()
    {
        EnglishTranslator english;
        QVERIFY(QCoreApplication::installTranslator(&english));
        QCoreApplication::processEvents(); // language-change events are posted
        QCOMPARE(child<QLabel>("lblTable")->text(), QStringLiteral("Update notice"));
        QCOMPARE(child<QLabel>("lblLink")->text(), QStringLiteral("Link:"));
        QCOMPARE(child<QPushButton>("btnOK")->text(), QStringLiteral("OK"));

        QVERIFY(QCoreApplication::removeTranslator(&english));
        m_hint->retranslate();
        QCOMPARE(child<QLabel>("lblHint")->text(),
                 QStringLiteral("软件有新版本可用，请及时更新！"));
        QCOMPARE(child<QPushButton>("btnOK")->text(), QStringLiteral("确定"));
    }

    void showsLink_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("href");
        QTest::newRow("plain") << "https://dl.example.com/R7.exe"
                               << "https://dl.example.com/R7.exe";
        QTest::newRow("query with ampersand") << "https://dl.example.com/get?f=r7&v=2"
                                              << "https://dl.example.com/get?f=r7&v=2";
        QTest::newRow("quotes") << "https://dl.example.com/a\" onmouseover=\"x"
                                << "https://dl.example.com/a%22%20onmouseover=%22x";
        QTest::newRow("single quotes and tags") << "https://dl.example.com/a'><img src=x>"
                                                << "https://dl.example.com/a'%3E%3Cimg%20src=x%3E";
    }

    void showsLink()
    {
        QFETCH(QString, url);
        QFETCH(QString, href);
        m_hint->showUpdateLink(url);
        QVERIFY(m_hint->isVisible());

        QLabel *label = child<QLabel>("lblUrlValue");
        const QString html = label->text();
        // Exactly one anchor, its target the whole address; no attribute was smuggled in.
        const QList<Anchor> anchors = anchorsOf(html);
        QCOMPARE(anchors.size(), 1);
        QCOMPARE(anchors.first().href, href);
        QCOMPARE(html.count(QLatin1Char('"')), 2); // the two quotes around href
        QVERIFY(!html.contains(QLatin1String("<img")));
        QVERIFY(!html.contains(QLatin1String("onmouseover=\"")));
        QCOMPARE(label->toolTip(), href);
    }

    void longLinkIsElidedButWhole()
    {
        const QString url = QStringLiteral("https://dl.example.com/releases/r7-assistant/windows/"
                                           "2.10/R7Assistant-2.10-setup-x86_64.exe");
        m_hint->showUpdateLink(url);
        QVERIFY(QTest::qWaitForWindowExposed(m_hint));
        QLabel *label = child<QLabel>("lblUrlValue");
        const QList<Anchor> anchors = anchorsOf(label->text());
        QCOMPARE(anchors.size(), 1);
        QCOMPARE(anchors.first().href, url);
        QVERIFY(anchors.first().text.contains(QChar(0x2026)));
        const int advance = label->fontMetrics().horizontalAdvance(anchors.first().text);
        QVERIFY(advance <= label->contentsRect().width());
        QVERIFY(advance > label->contentsRect().width() * 3 / 4); // elided to the laid-out width
        QCOMPARE(m_hint->size(), QSize(368, 200)); // the address did not widen the dialog
    }

    void shortLinkShownWhole()
    {
        const QString url = QStringLiteral("https://dl.example.com/R7.exe");
        m_hint->showUpdateLink(url);
        const QList<Anchor> anchors = anchorsOf(child<QLabel>("lblUrlValue")->text());
        QCOMPARE(anchors.size(), 1);
        QCOMPARE(anchors.first().text, url);
    }

    void refusesUnsafeLinks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("javascript") << "javascript:alert(1)";
        QTest::newRow("file") << "file:///etc/passwd";
        QTest::newRow("empty") << "";
    }

    void refusesUnsafeLinks()
    {
        QFETCH(QString, url);
        m_hint->showUpdateLink(url);
        QVERIFY(!m_hint->isVisible());
        QVERIFY(child<QLabel>("lblUrlValue")->text().isEmpty());
    }

    void okHidesTheDialog()
    {
        m_hint->showUpdateLink(QStringLiteral("https://dl.example.com/R7.exe"));
        QVERIFY(QTest::qWaitForWindowExposed(m_hint));
        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        QVERIFY(!m_hint->isVisible());
        QVERIFY(m_window->findChild<UpdateHint *>()); // hidden, not destroyed
    }

    void looksAsDesigned()
    {
        m_hint->showUpdateLink(QStringLiteral("https://dl.example.com/R7Assistant-2.10.exe"));
        QVERIFY(QTest::qWaitForWindowExposed(m_hint));
        const QImage image = m_hint->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(368, 200) * m_hint->devicePixelRatioF());

        const QString folder = qEnvironmentVariable("R7_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("update-hint.png"))));

        // Rounded corner left transparent, body dark grey, button green.
        QCOMPARE(pixel(image, {0, 0}).alpha(), 0);
        QVERIFY(near(pixel(image, {8, 100}), QColor(0x38, 0x38, 0x38)));
        QPushButton *ok = child<QPushButton>("btnOK");
        const QPoint insideButton = ok->mapTo(m_hint, QPoint(6, ok->height() / 2));
        QVERIFY(near(pixel(image, insideButton), QColor(0x1A, 0xE6, 0x42)));
        // The title is drawn: some white pixels on the title row.
        QLabel *title = child<QLabel>("lblTable");
        int white = 0;
        const QRect titleRect(title->mapTo(m_hint, QPoint(0, 0)), title->size());
        for (int y = titleRect.top(); y <= titleRect.bottom(); ++y)
            for (int x = titleRect.left(); x <= titleRect.right(); ++x)
                white += pixel(image, {x, y}).lightness() > 200;
        QVERIFY(white > 50);
    }
};

int main(int argc, char *argv[])
{
    // The dialog never touches the home folder, but keep the user's away from tests regardless.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestUpdateHint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_updatehint.moc"
