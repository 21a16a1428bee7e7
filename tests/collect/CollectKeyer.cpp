// Keys subgroups of 5 values into one control item as an inspector at another workstation would,
// saving every few subgroups, and prints the sample numbers it saved, one per line:
//   collect_keyer DBQ CID COUNT BATCH
// A save that meets the other workstation's lock is tried again, as the inspector would.
#include "collect/VCollect.h"
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) return 2;
    const int cid = QString::fromLocal8Bit(argv[2]).toInt();
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    const int batch = QString::fromLocal8Bit(argv[4]).toInt();
    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        TCompanyDM dm;
        dm.Params.DBQ = QString::fromLocal8Bit(argv[1]);
        dm.Connect();
        TCompanyDM::SetCurrent(&dm);
        TVCollect collect(&dm);
        collect.SetControlItem(cid, QStringLiteral("并发特性"));
        QList<int> saved, pending;
        for (int k = 0; k < count;) {
            for (int b = 0; b < batch && k < count; ++b, ++k) {
                pending << collect.LastSGNo();
                for (int p = 0; p < 5; ++p) {
                    collect.SetCellText(collect.ValueRows().CurrentRow(), QStringLiteral("Data"),
                                        QString::number(10.0 + (k % 7) * 0.01 + p * 0.001, 'f', 3));
                    collect.EnterPressed();
                }
            }
            for (int attempt = 0;; ++attempt) {
                try {
                    collect.Save();
                    break;
                } catch (const EDatabaseError& e) {
                    if (e.Kind() != TDbErrorKind::Deadlock || attempt >= 5) throw;
                }
            }
            saved << pending;
            pending.clear();
        }
        for (int sn : saved) out << sn << '\n';
        TCompanyDM::SetCurrent(nullptr);
    } catch (const ESystemError& e) {
        err << e.Message() << Qt::endl;
        return 1;
    }
    return 0;
}
