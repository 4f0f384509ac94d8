// The help pages compiled into the program: one page for every context number the screens ask
// for, an index that reaches all of them, and links that all lead somewhere.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <gtest/gtest.h>

#include <set>

static void initHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace {

const int kContexts[] = {1,  2,  3,  12, 13, 14, 15, 16, 21, 22,
                         23, 24, 31, 33, 41, 42, 43, 52, 61, 100};

class HelpPages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initHelpResources(); }

    static QByteArray read(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            return {};
        }
        return f.readAll();
    }

    static QString text(const QByteArray& bytes) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        return utf8(bytes);
    }

    // The href values of a page, in order.
    static QStringList links(const QString& html) {
        static const QRegularExpression href(QStringLiteral("href\\s*=\\s*\"([^\"]*)\""),
                                             QRegularExpression::CaseInsensitiveOption);
        QStringList out;
        for (auto it = href.globalMatch(html); it.hasNext();) {
            out << it.next().captured(1);
        }
        return out;
    }

    static QStringList allPages() {
        QStringList pages;
        QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            pages << it.next();
        }
        pages.sort();
        return pages;
    }
};

TEST_F(HelpPages, EveryContextHasARealPage) {
    for (int context : kContexts) {
        const QString path = QStringLiteral(":/help/%1.html").arg(context);
        const QByteArray bytes = read(path);
        ASSERT_FALSE(bytes.isEmpty()) << path.toStdString();

        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString html = utf8(bytes);
        EXPECT_FALSE(utf8.hasError()) << path.toStdString() << " is not valid UTF-8";
        // The viewer picks the encoding from the page's meta element.
        EXPECT_EQ(QString::fromUtf8(QStringDecoder::decoderForHtml(bytes).name()),
                  QStringLiteral("UTF-8"))
            << path.toStdString();

        static const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
        const auto m = title.match(html);
        ASSERT_TRUE(m.hasMatch()) << path.toStdString();
        EXPECT_FALSE(m.captured(1).trimmed().isEmpty()) << path.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("<h1>"))) << path.toStdString();
        EXPECT_TRUE(links(html).contains(QStringLiteral("index.html"))) << path.toStdString();

        // A page explains its screen: well over a few lines of text once the markup is gone.
        QString plain = html;
        plain.remove(QRegularExpression(QStringLiteral("<style[^>]*>.*</style>"),
                                        QRegularExpression::DotMatchesEverythingOption));
        plain.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        EXPECT_GT(plain.simplified().size(), 800) << path.toStdString();
        // Every screen with a help button is left somewhere: the page names its keys.
        EXPECT_TRUE(html.contains(QStringLiteral("class=\"tecla\""))) << path.toStdString();
    }
}

TEST_F(HelpPages, IndexLinksEveryPage) {
    const QString html = text(read(QStringLiteral(":/help/index.html")));
    ASSERT_FALSE(html.isEmpty());
    const QStringList targets = links(html);
    for (int context : kContexts) {
        EXPECT_TRUE(targets.contains(QStringLiteral("%1.html").arg(context))) << context;
    }
    // Nothing in the resources is out of reach of the index.
    for (const QString& page : allPages()) {
        const QString name = page.mid(QStringLiteral(":/help/").size());
        if (name != QStringLiteral("index.html")) {
            EXPECT_TRUE(targets.contains(name)) << name.toStdString();
        }
    }
}

TEST_F(HelpPages, EveryLinkResolves) {
    const QStringList pages = allPages();
    ASSERT_EQ(pages.size(), int(std::size(kContexts)) + 1);
    int checked = 0;
    for (const QString& page : pages) {
        const QString html = text(read(page));
        // The program has no web site and the pages name no address.
        EXPECT_FALSE(html.contains(QStringLiteral("http://"))) << page.toStdString();
        EXPECT_FALSE(html.contains(QStringLiteral("https://"))) << page.toStdString();
        EXPECT_FALSE(html.contains(QStringLiteral("www."))) << page.toStdString();
        for (const QString& link : links(html)) {
            const QUrl url(link);
            EXPECT_TRUE(url.isRelative()) << page.toStdString() << ": " << link.toStdString();
            const QString target =
                url.path().isEmpty()
                    ? page
                    : QUrl(QStringLiteral("qrc") + page).resolved(url).path().prepend(':');
            EXPECT_TRUE(QFile::exists(target)) << page.toStdString() << ": " << link.toStdString()
                                               << " -> " << target.toStdString();
            if (url.hasFragment()) {
                const QString targetHtml = text(read(target));
                EXPECT_TRUE(
                    targetHtml.contains(QStringLiteral("name=\"%1\"").arg(url.fragment())) ||
                    targetHtml.contains(QStringLiteral("id=\"%1\"").arg(url.fragment())))
                    << page.toStdString() << ": " << link.toStdString();
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

} // namespace
