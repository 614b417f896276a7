#include <QFile>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// The help file as the help viewer reads it.
class HelpFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyLinkLeadsToASection();
};

void HelpFileTest::everyLinkLeadsToASection()
{
    QFile file(QStringLiteral(KIVO_HELP_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument help;
    help.setHtml(QString::fromUtf8(file.readAll()));

    QSet<QString> sections;
    QStringList links;
    for (QTextBlock block = help.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            for (const QString &name : format.anchorNames())
                sections.insert(name);
            if (!format.anchorHref().isEmpty())
                links.append(format.anchorHref());
        }
    }

    QVERIFY(!links.isEmpty());
    for (const QString &link : std::as_const(links)) {
        QVERIFY2(link.startsWith(u'#'), qPrintable(link));
        QVERIFY2(sections.contains(link.mid(1)), qPrintable(link));
    }
}

QTEST_MAIN(HelpFileTest)
#include "HelpFileTest.moc"
