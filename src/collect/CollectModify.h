#pragma once
// The editing windows' load: a confirmed condition's stored subgroups, with their values or counts
// and their tags, replace everything a collection holds. The pending sets are reopened on the
// stored rows, so that an edit rewrites its row, a deletion deletes it, and the save is the
// collection's own.
#include <QString>
#include <QStringList>

class TACollect;
class TMemTable;
class TVCollect;

class TCollectModify {
public:
    // The selection step for the task (its condition tables are written), then the load. The item
    // becomes the collection's current control item whether or not subgroups were found; no block
    // is appended. Returns the number of subgroups loaded.
    static int LoadVariable(TVCollect& collect, int cid, const QString& name, int taskID,
                            const QStringList& MandatoryTags, const QStringList& OptionalTags);
    static int LoadAttribute(TACollect& collect, int cid, const QString& name, int taskID,
                             const QStringList& MandatoryTags, const QStringList& OptionalTags);

private:
    template <class TCollect>
    static void Reset(TCollect& collect, TMemTable& rows, int cid, const QString& name);
};
