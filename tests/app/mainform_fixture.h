#pragma once

// A main window over a temporary copy of the delivered data, with scripted prompts.

#include "app/mainform.h"
#include "editor/editform.h"
#include "scriptedprompts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct MainFormTest : ::testing::Test {
    QTemporaryDir home;
    ScriptedPrompts prompts;
    std::unique_ptr<app::MainForm> form;

    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        for (const char* name : {"ravoze.mdb", "photo.mdb", "ravoze.ini"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(FACIORA_DIST_DIR "/") + QLatin1String(name),
                                    home.filePath(QLatin1String(name))));
        // The editor finds the data folder the way the program does.
        qputenv("FACIORA_HOME", home.path().toLocal8Bit());
    }

    void TearDown() override
    {
        form.reset();
        qunsetenv("FACIORA_HOME");
    }

    // The main window's load and its start-of-portrait timer, as the splash window's end
    // starts them.
    void start(const QString& document = {})
    {
        app::MainFormOptions options;
        options.appPath = home.path();
        options.document = document;
        options.prompts = &prompts;
        form = std::make_unique<app::MainForm>(options);
        form->show();
        form->start();
        settle();
    }

    // Waits for the start-of-portrait timer of start, New and Open.
    void settle()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form->mdiTimer().isActive(); }, 5000));
    }

    QAction* action(app::MenuItem item) const { return form->action(item); }
    void trigger(app::MenuItem item) const { action(item)->trigger(); }
    editor::EditForm* editor() const { return form->editor(); }
    core::PortraitState& state() const { return form->session().state; }

    // A change to the portrait, as a drag of the nose would make it.
    void moveNose(int dx)
    {
        state().PartTable[core::kind::Nose].PosX += dx;
        editor()->composePortrait();
    }

    QString path(const char* name) const { return home.filePath(QString::fromUtf8(name)); }
};
