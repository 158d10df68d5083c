// ◇当選番号 → 最新結果を取得 against a bank served by the test itself on
// 127.0.0.1: the index, the files tried one by one, every way the fetch
// fails, cancel, and the question asked before anything is written.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "loopback_server.h"
#include "modal.h"
#include "platform/line_file.h"
#include "support/bank_files.h"
#include "ui/result_urls.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

using std::chrono::milliseconds;

const BankDraw kDraw1401{1401, {30, 9, 22, 14, 3, 17}, 2024, 6, 11, {0, 3, 120, 4000}, {0, 150'000, 10'000, 1'000}};
// Row 1 of the sample combinations: grade 1 in draw 1402.
const BankDraw kDraw1402{
    1402, {5, 11, 13, 21, 31, 1}, 2024, 6, 18, {1, 4, 150, 4100}, {9'876'500, 123'400, 9'800, 900}};

class Fetch : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.listening());
        // The window reads the addresses from the user's settings, which the
        // tests keep in a folder of their own.
        ui::saveResultUrls({server.url("/name.txt"), server.url("/csv")});
        copyDemo();
        ASSERT_TRUE(start());
        history = read("atarimgrp.txt");
    }
    std::string read(const char* name) const {
        return platform::readFileBytes(dir.filePath(QLatin1String(name)).toStdString());
    }
    bool hasPayouts() const { return QFile::exists(dir.filePath(QStringLiteral("atarikin.csv"))); }
    void serveIndex(const std::vector<int>& draws) {
        server.replies[QStringLiteral("/name.txt")] = {200, QByteArray::fromStdString(
                                                                platform::encodeCp932(bankIndex(draws)))};
    }
    void serve(int draw, const std::string& text) {
        server.replies[QStringLiteral("/csv/A101%1.CSV").arg(draw)] = {200, QByteArray::fromStdString(
                                                                                platform::encodeCp932(text))};
    }
    void fetchLatest(int answer) {
        platform.boxes.clear();
        platform.answers = {answer};
        trigger(QStringLiteral("mnuasaishin"));
    }

    LoopbackServer server;
    std::string history;
};

TEST_F(Fetch, TheIndexsFilesAreShownThenWrittenOnOkAndEveryViewFollows) {
    loadSampleCombinations();
    selectTab(app::kTabOdds);
    find<QTabWidget>(QStringLiteral("backtestViews"))->setCurrentIndex(1);
    EXPECT_FALSE(find<QTableWidget>(QStringLiteral("payoutTable"))->isVisible());
    serveIndex({1399, 1400, 1401, 1402});
    serve(1401, bankBlock(kDraw1401));
    serve(1402, bankBlock(kDraw1402));

    fetchLatest(platform::kCancel);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::OkCancel);
    EXPECT_EQ(platform.boxes[0].text,
              "第1401回～第1402回（2 回）を atarimgrp.txt に追加します。\n"
              "2 回分の日付・払戻金を atarikin.csv に書き込みます。\n\n"
              "第1401回～第1402回を追加します。よろしいですか？");
    EXPECT_EQ(read("atarimgrp.txt"), history);
    EXPECT_FALSE(hasPayouts());
    EXPECT_EQ(server.asked, QStringList({"/name.txt", "/csv/A1011401.CSV", "/csv/A1011402.CSV"}));
    for (const QByteArray& agent : server.userAgents) EXPECT_TRUE(agent.startsWith("Mozilla/5.0 (")) << agent.data();

    fetchLatest(platform::kOk);
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(read("atarimgrp.txt"),
              history + platform::encodeCp932("第1401回= 3, 9,14,22,30,17\r\n第1402回= 5,11,13,21,31, 1\r\n"));
    EXPECT_EQ(read("atarikin.csv"),
              platform::encodeCp932("回,日付,1等口数,2等口数,3等口数,4等口数,1等賞金,2等賞金,3等賞金,4等賞金\r\n") +
                  "1401,2024/06/11,0,3,120,4000,0,150000,10000,1000\r\n"
                  "1402,2024/06/18,1,4,150,4100,9876500,123400,9800,900\r\n");
    // At once, with no button pressed: the frame, its counts and the tab in sight.
    EXPECT_EQ(label("Label1"), QStringLiteral("第1402回: 5,11,13,21,31, 1"));
    EXPECT_EQ(label("Label3_1"), QStringLiteral(" 1"));
    EXPECT_EQ(find<QScrollBar>(QStringLiteral("HScroll1"))->maximum(), 1402);
    EXPECT_TRUE(find<QTableWidget>(QStringLiteral("payoutTable"))->isVisible());
    EXPECT_TRUE(label("payoutSummary").startsWith(QStringLiteral("払戻金のわかる 2 回：")));
}

TEST_F(Fetch, WithoutTheIndexTheNextFilesAreTriedUntilNotFound) {
    serve(1401, bankBlock(kDraw1401));
    fetchLatest(platform::kOk);
    EXPECT_EQ(server.asked, QStringList({"/name.txt", "/csv/A1011401.CSV", "/csv/A1011402.CSV"}));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].text.ends_with("第1401回～第1401回を追加します。よろしいですか？"));
    EXPECT_EQ(read("atarimgrp.txt"), history + platform::encodeCp932("第1401回= 3, 9,14,22,30,17\r\n"));

    // Neither the index nor the next file there (a wrong address looks
    // the same): what was asked for and what the server answered, nothing asked.
    server.asked.clear();
    fetchLatest(platform::kOk);
    EXPECT_EQ(server.asked, QStringList({"/name.txt", "/csv/A1011402.CSV"}));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              "新しい回は見つかりませんでした。\r\n一覧ファイル（" + server.url("/name.txt") +
                  "）: サーバーの応答が HTTP 404 でした。\r\nA1011402.CSV（" + server.url("/csv/A1011402.CSV") +
                  "）: サーバーの応答が HTTP 404 でした。\r\n第1402回がまだ公開されて"
                  "いないか、取得先のアドレスが違います（◇環境 → 設定 の「最新結果の取得先」）。");
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(read("atarimgrp.txt"), history + platform::encodeCp932("第1401回= 3, 9,14,22,30,17\r\n"));

    // With the index read, nothing after the last draw is simply that.
    serveIndex({1400, 1401});
    fetchLatest(platform::kOk);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "新しい回はありません。");
}

TEST_F(Fetch, AnyFailureSaysWhyAndWritesNothing) {
    BankDraw other1400{1400, {1, 14, 15, 17, 29, 31}};
    struct Case {
        const char* name;
        std::function<void()> serveIt;
        std::string says;
    };
    const Case cases[] = {
        {"not found in the middle",
         [&] {
             serveIndex({1401, 1402, 1403});
             serve(1401, bankBlock(kDraw1401));
             serve(1403, bankBlock(kDraw1401));
         },
         "A1011402.CSV（" + server.url("/csv/A1011402.CSV") + "）: サーバーの応答が HTTP 404 でした。"},
        {"no answer in time",
         [&] {
             platform.setDownloadTimeout(milliseconds(300));
             server.replies[QStringLiteral("/csv/A1011401.CSV")] = {200, {}, true};
         },
         "A1011401.CSV（" + server.url("/csv/A1011401.CSV") + "）: サーバーから 1 秒待っても応答がありませんでした。"},
        {"another game",
         [&] {
             serveIndex({1401});
             serve(1401, "第1401回ロト６,数字選択式全国自治宝くじ,令和6年6月11日,東京\r\n");
         },
         "A1011401.CSV の 1 行目： ミニロトではなく、ロト６の当選番号のファイルです。"},
        {"a draw that disagrees",
         [&] {
             serveIndex({1401});
             serve(1401, bankBlock(other1400) + bankBlock(kDraw1401));
         },
         "第1400回の当選番号が atarimgrp.txt と違います。（取り込むファイル: 1,14,15,17,29,31\u3000atarimgrp.txt: "
         "1,14,15,17,29,30）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.replies.clear();
        c.serveIt();
        fetchLatest(platform::kOk);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Critical);
        EXPECT_NE(platform.boxes[0].text.find(c.says), std::string::npos) << platform.boxes[0].text;
        EXPECT_EQ(read("atarimgrp.txt"), history);
        EXPECT_FALSE(hasPayouts());
    }
}

TEST_F(Fetch, CancelStopsAtOnceAndTheWindowKeepsRunningMeanwhile) {
    server.replies[QStringLiteral("/name.txt")] = {200, {}, true};
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(10);
    QString shown;
    int ticksWhileOpen = 0;
    // The dialog is left to its own event loop for a while, then cancelled.
    WhenModal cancel(
        [&](QWidget* dialog) {
            shown = dialog->findChild<QLabel*>(QStringLiteral("DownloadText"))->text();
            const int opened = ticks;
            QTimer::singleShot(1000, dialog, [&, dialog, opened] {
                ticksWhileOpen = ticks - opened;
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("DownloadCancel")), Qt::LeftButton);
            });
        },
        "kazuban::ui::DownloadDialog");
    fetchLatest(platform::kOk);
    EXPECT_TRUE(cancel.worked());
    EXPECT_EQ(shown, QStringLiteral("当選番号の一覧を読んでいます…"));
    EXPECT_GE(ticksWhileOpen, 5);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(server.asked, QStringList({"/name.txt"}));
    EXPECT_EQ(read("atarimgrp.txt"), history);
    EXPECT_FALSE(hasPayouts());
}

#ifdef _WIN32
// The bank's pages come over TLS: on Windows through the system's own
// Schannel. The server on 127.0.0.1 is the one scripts/test-windows.sh
// starts for it (openssl s_server, answering with the files of a folder,
// under a certificate of its own): refused while the certificate is not
// trusted, fetched once the test trusts it.
class FetchOverTls : public WindowTest {};

TEST_F(FetchOverTls, AnUntrustedServerIsRefusedATrustedOneGivesTheResults) {
    EXPECT_TRUE(QSslSocket::supportsSsl());
    EXPECT_EQ(QSslSocket::activeBackend(), QStringLiteral("schannel"));
    const QString url = qEnvironmentVariable("KAZUBAN_TLS_URL");
    if (url.isEmpty()) GTEST_SKIP() << "no TLS server: scripts/test-windows.sh starts one";
    const QDir served(qEnvironmentVariable("KAZUBAN_TLS_FOLDER"));
    ASSERT_TRUE(served.mkpath(QStringLiteral("csv")));
    const auto serve = [&](const QString& name, const std::string& text) {
        const std::string body = platform::encodeCp932(text);
        QFile f(served.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                                          "\r\nConnection: close\r\n\r\n" + body));
    };
    serve(QStringLiteral("name.txt"), bankIndex({1401}));
    serve(QStringLiteral("csv/A1011401.CSV"), bankBlock(kDraw1401));
    ui::saveResultUrls(
        {(url + QStringLiteral("/name.txt")).toStdString(), (url + QStringLiteral("/csv")).toStdString()});
    copyDemo();
    ASSERT_TRUE(start());
    const auto history = [&] {
        return platform::readFileBytes(dir.filePath(QStringLiteral("atarimgrp.txt")).toStdString());
    };
    const std::string before = history();

    platform.answers = {platform::kOk};
    trigger(QStringLiteral("mnuasaishin"));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text.rfind("最新結果を取得できませんでした。", 0), 0u) << platform.boxes[0].text;
    EXPECT_EQ(history(), before);

    QFile pem(qEnvironmentVariable("KAZUBAN_TLS_CERT"));
    ASSERT_TRUE(pem.open(QIODevice::ReadOnly));
    const QSslConfiguration untrusting = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = untrusting;
    trusting.addCaCertificates(QSslCertificate::fromData(pem.readAll()));
    QSslConfiguration::setDefaultConfiguration(trusting);
    platform.boxes.clear();
    platform.answers = {platform::kOk};
    trigger(QStringLiteral("mnuasaishin"));
    QSslConfiguration::setDefaultConfiguration(untrusting);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].text.ends_with("第1401回～第1401回を追加します。よろしいですか？"))
        << platform.boxes[0].text;
    EXPECT_TRUE(history() == before + platform::encodeCp932("第1401回= 3, 9,14,22,30,17\r\n"));
}
#endif

}  // namespace
}  // namespace kazuban::testing
