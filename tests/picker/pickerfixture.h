#pragma once

// A picker's paging over a generated database, for the logic tests.

#include "pickertestdb.h"

#include "catalog/categories.h"
#include "catalog/partsdatabase.h"
#include "catalog/recordsource.h"
#include "core/session.h"
#include "picker/partapplier.h"
#include "picker/thumbpager.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pickertest {

struct PagerFixture {
    QTemporaryDir dir;
    QString path;
    catalog::PartsDatabase db;
    core::PortraitSession session;
    std::unique_ptr<picker::ThumbPager> pager;
    int drawn = 0;  // thumbnails drawn since the counter was last cleared

    explicit PagerFixture(const std::vector<Part>& parts, const QString& name = QStringLiteral("parts.mdb"))
    {
        path = dir.filePath(name);
        build(path, parts);
        const catalog::DbResult r = db.open(path, QString::fromLatin1(catalog::kListOrderSource));
        EXPECT_TRUE(r.ok()) << r.error().toStdString();
    }

    // A picker window's first fill on `kind` in display mode `mode`.
    picker::ThumbPager& open(int kind, int mode, int colourCode = 0)
    {
        pager = std::make_unique<picker::ThumbPager>(db, session, kind, catalog::RowsPerPart(kind));
        pager->setDisplayMode(mode);
        pager->setColourCode(colourCode);
        pager->onDrawn = [this](int) { ++drawn; };
        pager->firstFill();
        return *pager;
    }

    // The part numbers in the five slots, 0 for an empty one.
    std::vector<int> window() const
    {
        std::vector<int> w;
        for (int i = 0; i < picker::ThumbPager::kSlots; ++i)
            w.push_back(pager->slot(i).isEmpty() ? 0 : pager->slot(i).fileNo);
        return w;
    }

    std::vector<QString> toolTips() const
    {
        std::vector<QString> t;
        for (int i = 0; i < picker::ThumbPager::kSlots; ++i)
            t.push_back(pager->toolTip(i));
        return t;
    }

    // Applies thumbnail `slot` as a click would, composing nothing.
    picker::PartApplier::Result apply(int slot, int sideChoice = 2, int colourCode = 0,
                                      picker::PickerEnvironment* env = nullptr)
    {
        picker::PartApplier applier(session, env, {});
        return applier.ApplyPart(*pager, slot, sideChoice, colourCode);
    }
};

}  // namespace pickertest
