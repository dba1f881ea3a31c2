// The dialogs' logic without a window: selection rows and ticks, the printer confirmation's box,
// the progress bar's positions, the About box's texts and the help file's choice.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/InteractiveRun.h"
#include "app/Report.h"
#include "app/Startup.h"
#include "harness/TestMachine.h"
#include "inventory/Enumeration.h"
#include "ui/AboutDialog.h"
#include "ui/Confirmations.h"
#include "ui/Help.h"
#include "ui/ProgressDialog.h"
#include "ui/SelectionDialog.h"

namespace norvane {
namespace {

using Kind = platform::DialogAction::Kind;
using platform::CheckState;

class DialogModels : public ::testing::Test {
protected:
    DialogModels() {
        std::filesystem::copy(NORVANE_SOURCE_DIR "/examples/machines/demo", m.Folder(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        machine = m.Load();
        app = std::make_unique<CUninstallerController>(machine->Platform());
        LoadResourceLibrary(*app, L"");
        ReadCommonConfig(*app);
        EnumerateInstalled(*app, *app, *app, 1, 1,
                           [this](const std::wstring& message, std::uint32_t code) {
                               ReportResult(*app, message, ReportKind::Stop, code);
                           });
    }

    // What the dialogs read of the run as it is now.
    ui::RunView View() { return InteractiveSteps(*app).View(); }

    testing::TestMachine m;
    std::unique_ptr<sim::Machine> machine;
    std::unique_ptr<CUninstallerController> app;
};

TEST_F(DialogModels, SelectionListsPrintersThenDriversWithoutPrinter) {
    ui::SelectionDialog selection(View());
    const auto view = selection.View();
    ASSERT_TRUE(view.list);
    std::vector<std::wstring> first;
    for (const auto& row : view.list->rows)
        first.push_back(row.cells[0]);
    EXPECT_EQ(first, (std::vector<std::wstring>{L"Corvida Model A", L"Corvida Model A (Reception)",
                                                L"Corvida Model A Fax", L"Corvida Model A PS",
                                                L"Corvida Model B", L"(no printer)"}));
    EXPECT_EQ(view.list->rows.back().name, L"Corvida Model B PS");
}

TEST_F(DialogModels, SelectAllBoxAndStartButtonFollowTheTicks) {
    ui::SelectionDialog selection(View());
    EXPECT_FALSE(selection.StartEnabled());
    EXPECT_FALSE(selection.Act({Kind::Press, ui::kStartButton}).offered);
    selection.Act({Kind::SetTick, 0, 2, true});
    EXPECT_EQ(selection.SelectAllState(), CheckState::Indeterminate);
    EXPECT_TRUE(selection.StartEnabled());
    // From indeterminate the box ticks every row, from ticked it clears them.
    for (const CheckState expected :
         {CheckState::Ticked, CheckState::Cleared, CheckState::Ticked}) {
        selection.Act({Kind::ClickCheck, ui::kSelectAllBox});
        EXPECT_EQ(selection.SelectAllState(), expected);
    }
}

TEST_F(DialogModels, PrintersOnlyBoxNeedsARealPrinter) {
    struct {
        std::vector<std::wstring> names;
        bool enabled;
    } cases[] = {{{L"(no printer)", L"(no printer)"}, false},
                 {{L"(no printer)", L"Corvida Model B"}, true}};
    for (const auto& c : cases) {
        ui::PrinterConfirmation confirmation(View(), c.names, {L"D1", L"D2"}, app->m_bPrintersOnly);
        EXPECT_EQ(confirmation.View().checks[0].enabled, c.enabled);
        EXPECT_EQ(confirmation.Act({Kind::ClickCheck, ui::kPrintersOnlyBox}).offered, c.enabled);
        EXPECT_EQ(*confirmation.Act({Kind::Press, ui::kConfirmOk}).ended, platform::kIdOk);
        EXPECT_EQ(app->m_bPrintersOnly, c.enabled ? 1 : 0);
    }
}

TEST_F(DialogModels, UtilityConfirmationClosedLeavesTheAnswer) {
    ui::UtilityConfirmation confirmation(View(), {L"Corvida Status Monitor"},
                                         app->m_bUtilitiesConfirmed);
    app->m_bUtilitiesConfirmed = 1;
    confirmation.Act({Kind::Escape});
    EXPECT_EQ(app->m_bUtilitiesConfirmed, 1);
    confirmation.Act({Kind::Press, ui::kUtilityDecline});
    EXPECT_EQ(app->m_bUtilitiesConfirmed, 0);
    confirmation.Act({Kind::Press, ui::kUtilityAccept});
    EXPECT_EQ(app->m_bUtilitiesConfirmed, 1);
}

TEST_F(DialogModels, ProgressPositionsUseIntegerDivisions) {
    struct {
        int printersOnly, printers, drivers, utilities, step, phase, position;
    } cases[] = {
        {1, 3, 2, 0, 1, 0, 33}, {0, 3, 0, 0, 2, 0, 66},  {0, 3, 2, 0, 1, 0, 16},
        {0, 3, 3, 0, 1, 1, 65}, {0, 1, 3, 0, 3, 1, 95},  {0, 1, 1, 3, 2, 3, 66},
        {0, 1, 1, 3, 3, 4, 0},  {0, 1, 1, 0, 0, 2, 100}, {1, 2, 1, 0, 1, 1, 50},
    };
    for (const auto& c : cases) {
        app->m_bPrintersOnly = c.printersOnly;
        app->m_nPrintersToDelete = c.printers;
        app->m_nDriversToDelete = c.drivers;
        app->m_nUtilitiesToDelete = c.utilities;
        EXPECT_EQ(ui::ProgressPosition(View().scale, c.step, c.phase), c.position)
            << c.step << " of phase " << c.phase;
    }
}

TEST_F(DialogModels, EscapeEndsTheProgressDialogOnlyAtTheEnd) {
    auto worker = machine->Platform().ui.CreateSuspendedThread([] {});
    InteractiveSteps steps(*app);
    ui::ProgressDialog progress(steps.View(), *worker, steps);
    app->m_nPrintersToDelete = 2;
    for (int step : {0, 1}) {
        progress.Bar(step, 0);
        EXPECT_FALSE(progress.Act({Kind::Escape}).offered);
        EXPECT_FALSE(progress.Act({Kind::Close}).offered);
        EXPECT_FALSE(progress.View().buttons[0].enabled);
    }
    EXPECT_FALSE(app->QuitCode());
    progress.Bar(2, 0);
    EXPECT_TRUE(progress.View().buttons[0].enabled);
    EXPECT_EQ(progress.Act({Kind::Escape}).ended, platform::kIdCancel);
    EXPECT_EQ(app->QuitCode(), 1);
}

TEST_F(DialogModels, AboutShowsVersionCopyrightAndDrivers) {
    const auto texts = ui::AboutDialog(View()).View().texts;
    EXPECT_EQ(texts[1].text, L"Version " NORVANE_VERSION_W);
    EXPECT_EQ(texts[2].text, L"Copyright (C) 2025 Corvida. All rights reserved.");
    EXPECT_EQ(texts[3].text,
              L"Corvida Model A\r\nCorvida Model A PS\r\nCorvida Model A Fax\r\nCorvida Model "
              L"B\r\nCorvida Model B PS");
    // Version.txt is looked for in the program's folder, then in its parent.
    const std::wstring folder = L"C:\\Program Files\\Halvex\\";
    m.WriteFile(folder + L"Version.txt", "[Version]\r\nMainVersion=9\r\n");
    std::filesystem::remove(m.Folder() / "drive_c/Program Files/Halvex/Norvane/Version.txt");
    EXPECT_EQ(ui::ReadVersionValue(View(), L"MainVersion"), L"9");
    EXPECT_EQ(ui::ReadVersionValue(View(), L"Copyright"), L"");
}

TEST_F(DialogModels, HelpFileByLanguageThenEnglishThenProgramFolder) {
    const std::wstring folder = app->g_szModuleDir;
    EXPECT_EQ(ui::HelpFilePath(View()), folder + L"HELP.chm");
    m.WriteFile(L"C:\\Program Files\\Halvex\\Norvane\\ENU\\HELP.chm", "help");
    app->texts.m_nLangId = 1041;
    EXPECT_EQ(ui::HelpFilePath(View()), folder + L"ENU\\HELP.chm");
    m.WriteFile(L"C:\\Program Files\\Halvex\\Norvane\\JPN\\HELP.chm", "help");
    EXPECT_EQ(ui::HelpFilePath(View()), folder + L"JPN\\HELP.chm");
}

}  // namespace
}  // namespace norvane
