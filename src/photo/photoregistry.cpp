#include "photo/photoregistry.h"

#include "catalog/photos.h"
#include "catalog/recordsource.h"
#include "catalog/schema.h"
#include "photo/photorules.h"

#include <QDir>
#include <QFileInfo>

namespace photo {

using catalog::DbResult;

DbResult PhotoRegistry::open(const QString& folder)
{
    close();
    const QString path = catalog::resolveFileNoCase(
        QDir(folder).filePath(QString::fromLatin1(catalog::kPhotoDatabaseName)));
    // Neither program creates a database: a missing file is an error, not a new file.
    if (!QFileInfo(path).isFile())
        return DbResult::failure(QStringLiteral("%1 does not exist").arg(path));
    return db_.open(path, QString::fromLatin1(catalog::kPhotoOrderSource));
}

void PhotoRegistry::close()
{
    resetPending();
    db_.close();
}

int PhotoRegistry::count() const
{
    return db_.isOpen() ? db_.recordCount() : 0;
}

int PhotoRegistry::position() const
{
    return db_.isOpen() ? db_.absolutePosition() : -1;
}

bool PhotoRegistry::showRecord(int position)
{
    if (!db_.isOpen() || !db_.moveFirst())
        return false;
    return position <= 0 || db_.move(position);
}

imaging::Raster PhotoRegistry::picture(Slot slot) const
{
    imaging::Raster out;
    if (db_.hasCurrent() && !adding_)
        (void)db_.image(slot == Slot::Main ? u"photo_main" : u"photo_mask", out);
    return out;
}

void PhotoRegistry::resetPending()
{
    adding_ = false;
    autoMask_ = false;
    pendingNumber_ = 0;
    names_ = {};
    pictures_ = {};
}

int PhotoRegistry::beginAdd()
{
    resetPending();
    positionBeforeAdd_ = std::max(position(), 0);
    adding_ = true;
    int number = 0;
    if (db_.isOpen() && !catalog::nextPhotoNumber(db_, number).ok())
        number = 0;
    pendingNumber_ = number;
    return number;
}

QString PhotoRegistry::autoMaskName(const QString& mainPath)
{
    return QStringLiteral("自動作成：") + mainPath;
}

PhotoRegistry::ChoiceResult PhotoRegistry::choose(Slot slot, const QString& path)
{
    const std::size_t i = std::size_t(slot);
    if (!adding_)
        return {Choice::Cancelled, 0};
    if (path.isEmpty()) {
        names_[i].clear();
        if (slot == Slot::Mask)
            autoMask_ = false;
        return {Choice::Cancelled, 0};
    }
    ChoiceResult result{Choice::Loaded, 0};
    imaging::Raster loaded;
    if (const int code = loaded.load(path, 0, 0, 1); code != 0)
        result = {Choice::Failed, code};
    else if (!fitsPortraitWindow(loaded.size()))
        result = {Choice::TooLarge, 0};

    if (slot == Slot::Mask)
        autoMask_ = false;
    if (result.status != Choice::Loaded) {
        names_[i].clear();
        pictures_[i] = {};
        // A mask made from a picture that is gone goes with it.
        if (slot == Slot::Main && autoMask_) {
            autoMask_ = false;
            names_[1].clear();
            pictures_[1] = {};
        }
        return result;
    }
    names_[i] = path;
    pictures_[i] = loaded;
    if (slot == Slot::Main && autoMask_)
        createAutoMask();
    return result;
}

bool PhotoRegistry::createAutoMask()
{
    if (!adding_ || pictures_[0].isNull() || names_[0].isEmpty())
        return false;
    pictures_[1] = makeAutoMask(pictures_[0]);
    names_[1] = autoMaskName(names_[0]);
    autoMask_ = true;
    return true;
}

PhotoRegistry::StoreResult PhotoRegistry::store()
{
    if (!adding_)
        return {Store::Failed, QStringLiteral("no photo is being added"), 0};
    if (pendingNumber_ <= 0)
        return {Store::NoNumber, {}, 0};
    if (names_[0].isEmpty() || names_[1].isEmpty() || pictures_[0].isNull() || pictures_[1].isNull())
        return {Store::NoFile, {}, 0};

    catalog::PhotoEntry entry;
    entry.fileNo = pendingNumber_;
    entry.whoMain = names_[0];
    entry.whoMask = names_[1];
    entry.mask = pictures_[1];
    entry.main = autoMask_ ? clearMaskedArea(pictures_[0], pictures_[1]) : pictures_[0];
    entry.mainBits = fieldSaveSettings(entry.main).bits;
    entry.maskBits = fieldSaveSettings(entry.mask).bits;

    int number = 0;
    const DbResult r = catalog::addPhoto(db_, entry, &number);
    const int back = positionBeforeAdd_;
    resetPending();
    if (!r) {
        // addPhoto rolled back; the record set is as it was.
        (void)db_.requery();
        showRecord(back);
        return {Store::Failed, r.error(), 0};
    }
    // The new photo has the highest number: the window shows the last record.
    showRecord(count() - 1);
    return {Store::Stored, {}, number};
}

void PhotoRegistry::cancelAdd(int position)
{
    resetPending();
    showRecord(position);
}

PhotoRegistry::DeleteResult PhotoRegistry::deleteCurrent()
{
    if (adding_ || !db_.isOpen() || !db_.hasCurrent())
        return {Delete::NoRecord, {}};
    const int back = position();
    if (const DbResult r = catalog::deletePhoto(db_); !r) {
        (void)db_.requery();
        showRecord(back);
        return {Delete::Failed, r.error()};
    }
    showRecord(0);
    return {Delete::Deleted, {}};
}

}  // namespace photo
