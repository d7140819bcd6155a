#include "SearchText.h"

#include <QTest>

using namespace Lanvo;

class TestSearchText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matching_data();
    void matching();
    void narrowing_data();
    void narrowing();
};

void TestSearchText::matching_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("found");
    QTest::newRow("case") << "Mahjong Kyoretsuden" << "MAHJONG" << true;
    QTest::newRow("every word, any order") << "Mahjong\n1990" << "1990 mahj" << true;
    QTest::newRow("one word missing") << "Mahjong\n1990" << "mahjong 1991" << false;
    QTest::newRow("accent-free query") << QString::fromUtf8("\xc3\x89t\xc3\xa9 \xc3\x80 Gen\xc3\xa8ve") << "ete a geneve" << true;
    QTest::newRow("accented query") << "Ecole" << QString::fromUtf8("\xc3\x89\x63ole") << true;
    QTest::newRow("decomposed key") << QString::fromUtf8("Cafe\xcc\x81") << "café" << true;
    QTest::newRow("blanks of any kind") << "Super Sidekicks" << "\tsuper   side " << true;
    QTest::newRow("empty query finds all") << "anything" << "" << true;
    QTest::newRow("not across lines") << "ab\ncd" << "bc" << false;
}

void TestSearchText::matching()
{
    QFETCH(QString, key);
    QFETCH(QString, query);
    QFETCH(bool, found);
    QCOMPARE(containsAllWords(foldForSearch(key), searchWords(query)), found);
}

void TestSearchText::narrowing_data()
{
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("narrows");
    QTest::newRow("typed on") << "mah" << "mahj" << true;
    QTest::newRow("word added") << "mah" << "mah 19" << true;
    QTest::newRow("first search") << "" << "a" << true;
    QTest::newRow("backspace") << "mahj" << "mah" << false;
    QTest::newRow("word replaced") << "snk" << "adk" << false;
}

void TestSearchText::narrowing()
{
    QFETCH(QString, previous);
    QFETCH(QString, query);
    QFETCH(bool, narrows);
    QCOMPARE(Lanvo::narrows(searchWords(query), searchWords(previous)), narrows);
}

QTEST_APPLESS_MAIN(TestSearchText)
#include "tst_searchtext.moc"
