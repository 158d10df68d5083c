// The window as the user first meets it: menus, tabs, pop-up menus, exit.
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class StartUp : public WindowTest {};

// "name=caption" of every entry of a menu, "name|" for a separator.
QStringList entries(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? a->objectName() + QLatin1Char('|') : a->objectName() + QLatin1Char('=') + a->text());
    return out;
}

TEST_F(StartUp, MenusAndTabsCarryTheirNamesAndCaptions) {
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_EQ(window->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kazuban"));
    EXPECT_TRUE(window->isVisible());

    QStringList bar;
    for (const QAction* a : window->menuBar()->actions()) bar << a->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(bar, QStringList({"mnufile=◇ファイル", "mnuedit=◇編集", "mnutbango=◇当選番号", "mnudatamk=◇簡易ﾃﾞｰﾀ作成",
                                "mnuksettei=◇環境"}));
    EXPECT_EQ(entries(find<QMenu>("mnuedit")), QStringList({"mnuundo=元に戻す", "mnuredo=やり直し"}));
    EXPECT_EQ(entries(find<QMenu>("mnufile")),
              QStringList({"mnudopen=呼出し", "mnudsave=保存", "mnurecent=最近使ったファイル", "mnukugiri1|",
                           "mnufclose=終了"}));
    EXPECT_EQ(entries(find<QMenu>("mnutbango")),
              QStringList({"mnuatoroku=登　録", "mnuanet=ｵﾝﾗｲﾝ取得", "mnuanyuryoku=入力…", "mnukugiri2|",
                           "mnuatorikomi=取り込み…", "mnuasaishin=最新結果を取得"}));
    EXPECT_EQ(entries(find<QMenu>("mnudatamk")), QStringList({"mnu10mk=10個", "mnu5mk=5個"}));
    EXPECT_EQ(entries(find<QMenu>("mnuksettei")), QStringList({"mnuktoroku=設定"}));

    auto* tabs = find<QTabWidget>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
    EXPECT_EQ(captions, QStringList({"当 選 回 数", "合計・奇数偶数・分布 等", "マークシート図", "ネット利用分析",
                                     "当選番号直前分析", "確率・検証", "統計グラフ", "組合せ設計", "購入記録"}));
    EXPECT_EQ(tabs->widget(app::kTabOdds)->objectName(), QStringLiteral("oddsTab"));
    EXPECT_EQ(tabs->widget(app::kTabCharts)->objectName(), QStringLiteral("StatsTab"));
    EXPECT_EQ(tabs->currentIndex(), 0);

    for (const auto& [name, caption, hint] : {std::tuple{"Command6", "AC", "All Clear"},
                                              {"Command5", "￥", "当選回数確認"},
                                              {"Command3", "△", "データ整列"},
                                              {"Command4", "⇔", "昇順・降順切替"}}) {
        auto* button = find<QWidget>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->property("text").toString(), QString::fromUtf8(caption));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
    }
    EXPECT_FALSE(find<QWidget>("ProgressBar1")->isVisible());
}

TEST_F(StartUp, PopupMenusListTheirEntriesInOrder) {
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_EQ(entries(find<QMenu>(QStringLiteral("pmnupopup"))),
              QStringList({"pmnucopy=ｺﾋﾟｰ", "kugiri1|", "pmnupaste=貼付", "kugiri2|", "pmnudelete=削除", "kugiri3|",
                           "pmnusave=保存", "kugiri4|", "pmnuprt=印刷", "kugiri5|", "pmnucancell=ｷｬﾝｾﾙ", "kugiri6|",
                           "pmnupreview=印刷プレビュー…", "kugiri7|", "pmnuledger=購入記録に追加…"}));
    EXPECT_EQ(entries(find<QMenu>(QStringLiteral("pmnupopup2"))),
              QStringList({"psort=整列", "pkugiri7|", "pmnucopy2=ｺﾋﾟｰ", "pkugiri8|", "pmnuprt2=印刷", "pkugiri9|",
                           "pmnucancell2=ｷｬﾝｾﾙ", "pkugiri10|", "pmnupreview2=印刷プレビュー…"}));
    EXPECT_EQ(entries(find<QMenu>("psort")),
              QStringList({"psmnu1=組合わせﾃﾞｰﾀ", "pkugiri61|", "psmnu2=合 計", "pkugiri62|", "psmnu3=当選回数",
                           "pkugiri63|", "psmnu4=最新当選回", "pkugiri64|", "psmnu6=奇：偶", "pkugiri65|",
                           "psmnu7=P相性率", "pkugiri66|", "psmnu8=T相性率", "pkugiri67|", "psmnu9=5分割分布"}));
    EXPECT_EQ(entries(find<QMenu>(QStringLiteral("pmnupopup3"))),
              QStringList({"ptsort=整列", "kugiri10|", "pmnucopy3=ｺﾋﾟｰ", "kugiri11|", "pmnuprt3=印刷", "kugiri12|",
                           "pmnucancell3=ｷｬﾝｾﾙ", "kugiri13|", "pmnupreview3=印刷プレビュー…"}));
    EXPECT_EQ(entries(find<QMenu>("ptsort")),
              QStringList({"ptsmnu0=回", "kugiri31|", "ptsmnu1=当選番号", "kugiri32|", "ptsmnu2=合計", "kugiri33|",
                           "ptsmnu3=当選回数", "kugiri34|", "ptsmnu4=最新当選回", "kugiri35|", "ptsmnu6=奇：偶",
                           "kugiri36|", "ptsmnu7=P相性率", "kugiri37|", "ptsmnu8=T相性率", "kugiri38|",
                           "ptsmnu9=5分割分布"}));
    EXPECT_EQ(entries(find<QMenu>("ptsmnu6")), QStringList({"ptsmnu6s=昇順", "kugiri361|", "ptsmnu6k=降順"}));
}

TEST_F(StartUp, ExitAsksFirstFromTheMenuAndFromTheTitleBar) {
    copyDemo();
    ASSERT_TRUE(start());
    platform.answers = {platform::kCancel};
    trigger("mnufclose");
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes.back().text, " 終了します。 よろしいですか？");
    EXPECT_EQ(platform.boxes.back().buttons, platform::Buttons::OkCancel);
    EXPECT_TRUE(window->isVisible());

    platform.answers = {platform::kCancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(platform.boxes.size(), 2u);
    EXPECT_TRUE(window->isVisible());

    platform.answers = {platform::kOk};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(platform.boxes.size(), 3u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(form->closeRequested());
}

TEST_F(StartUp, MissingHistoryGivesOneMessageAndNoWindow) {
    // Neither data file is here: only the history's message is shown.
    EXPECT_FALSE(start());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, app::missingDataFileMessage("atarimgrp.txt", platform.currentDirectory()));
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Critical);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace kazuban::testing
