#include "ui/UpdateHint.h"

#include "widgets/PixelProbe.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

namespace {

// Stands in for the English translation file: marks every text of the dialog as translated.
class EnglishTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "UpdateHint") != 0)
            return {};
        return QStringLiteral("EN ") + QString::fromUtf8(source);
    }
    bool isEmpty() const override { return false; }
};

using Anchor = QPair<QString, QString>; // target, shown text

// The anchors of a label's rich text, as the label's own text engine reads them.
QList<Anchor> anchorsOf(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QList<Anchor> anchors;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isAnchor())
                anchors.append({it.fragment().charFormat().anchorHref(), it.fragment().text()});
        }
    }
    return anchors;
}

} // namespace

class TestUpdateHint : public QObject
{
    Q_OBJECT

private:
    QWidget *m_window = nullptr;
    UpdateHint *m_hint = nullptr;

    template<typename T = QWidget>
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

    void cleanup() { delete m_window; }

    void objectNames_data()
    {
        QTest::addColumn<QString>("className"); // the row's name is the object's
        QTest::newRow("widgetMain") << "QWidget";
        QTest::newRow("lblTable") << "QLabel";
        QTest::newRow("lblHint") << "QLabel";
        QTest::newRow("lblLink") << "QLabel";
        QTest::newRow("lblUrlValue") << "QLabel";
        QTest::newRow("btnOK") << "QPushButton";
    }

    void objectNames()
    {
        QFETCH(QString, className);
        QWidget *widget = child(QTest::currentDataTag());
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    }

    void windowKind()
    {
        QVERIFY(m_hint->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(m_hint->windowModality(), Qt::WindowModal);
        QVERIFY(child<QLabel>("lblUrlValue")->openExternalLinks());
    }

    void textsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("chinese"); // the row's name is the object's
        QTest::newRow("lblTable") << "更新提示";
        QTest::newRow("lblHint") << "软件有新版本可用，请及时更新！";
        QTest::newRow("lblLink") << "链接：";
        QTest::newRow("btnOK") << "确定";
    }

    void textsFollowTheLanguage()
    {
        QFETCH(QString, chinese);
        const QWidget *widget = child(QTest::currentDataTag());
        QCOMPARE(widget->property("text").toString(), chinese);
        EnglishTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QCoreApplication::processEvents(); // language-change events are posted
        QCOMPARE(widget->property("text").toString(), QStringLiteral("EN ") + chinese);
    }

    void hostileLinks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("href"); // empty: refused, the dialog stays hidden
        QTest::newRow("query with ampersand")
            << "https://dl.example.com/get?f=r7&v=2"
            << QStringLiteral("https://dl.example.com/get?f=r7&v=2");
        QTest::newRow("quotes") << "https://dl.example.com/a\" onmouseover=\"x"
                                << QStringLiteral("https://dl.example.com/a%22%20onmouseover=%22x");
        QTest::newRow("single quotes and tags")
            << "https://dl.example.com/a'><img src=x>"
            << QStringLiteral("https://dl.example.com/a'%3E%3Cimg%20src=x%3E");
        QTest::newRow("javascript") << "javascript:alert(1)" << QString();
        QTest::newRow("file") << "file:///etc/passwd" << QString();
    }

    void hostileLinks()
    {
        QFETCH(QString, url);
        QFETCH(QString, href);
        m_hint->showUpdateLink(url);
        QCOMPARE(m_hint->isVisible(), !href.isEmpty());
        QLabel *label = child<QLabel>("lblUrlValue");
        const QString html = label->text();
        QCOMPARE(label->toolTip(), href);
        if (href.isEmpty()) {
            QCOMPARE(html, QString());
            return;
        }
        // Exactly one anchor, its target the whole address; no attribute was smuggled in.
        const QList<Anchor> anchors = anchorsOf(html);
        QCOMPARE(anchors.size(), 1);
        QCOMPARE(anchors.first().first, href);
        QCOMPARE(html.count(QLatin1Char('"')), 2); // the two quotes around href
        QVERIFY(!html.contains(QLatin1String("<img")));
    }

    void wholeLinkIsShown_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("short") << "https://dl.example.com/R7.exe";
        QTest::newRow("long") << "https://dl.example.com/releases/r7-assistant/windows/"
                                 "2.10/R7Assistant-2.10-setup-x86_64.exe";
    }

    // The user reads the whole address (wrapped at its separators), inside the dialog's size.
    void wholeLinkIsShown()
    {
        QFETCH(QString, url);
        m_hint->showUpdateLink(url);
        QVERIFY(QTest::qWaitForWindowExposed(m_hint));
        QLabel *label = child<QLabel>("lblUrlValue");
        const QList<Anchor> anchors = anchorsOf(label->text());
        QCOMPARE(anchors.size(), 1);
        QCOMPARE(anchors.first().first, url);
        QCOMPARE(QString(anchors.first().second).remove(QChar(0x200B)), url);
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
        QCOMPARE(m_hint->size(), QSize(368, 200)); // the address did not widen the dialog
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
        const QImage image = pixelprobe::snapshot(*m_hint);
        // Rounded corner left transparent, button green.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QPushButton *ok = child<QPushButton>("btnOK");
        const QPoint inButton = ok->mapTo(m_hint, QPoint(6, ok->height() / 2));
        PIXEL_IS(image, inButton.x(), inButton.y(), QColor(0x1A, 0xE6, 0x42));
    }
};

QTEST_MAIN(TestUpdateHint)
#include "tst_updatehint.moc"
