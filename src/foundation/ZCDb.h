#pragma once
// The program's editable query: opened and closed by count, so that windows sharing it (a browse
// window and its edit window) close it only when the last of them closes it, and written back
// through an update object of its own that SetupUpdateSQL (ParseSQL.h) fills.
#include "foundation/SqlQuery.h"

class TZCQuery : public TQuery {
    Q_OBJECT
public:
    explicit TZCQuery(QObject* parent = nullptr);
    ~TZCQuery() override;

    // Created with the query, named "InternalUpdateSQL", installed as its update object.
    TUpdateSQL* InternalUpdateSQL() const { return FInternalUpdateSQL; }
    int OpenCount() const { return FOpenCount; }

    // Activating an inactive query resets the count and opens it; every activation adds one, and
    // an already active query does not read its rows again. Deactivating closes the query when the
    // count is 1 and takes one off while it is above 0.
    void SetActive(bool value) override;

private:
    TUpdateSQL* FInternalUpdateSQL;
    int FOpenCount = 0;
};
