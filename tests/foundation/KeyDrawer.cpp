// Draws keys from a database file as a second workstation would and prints them, one pair per line:
//   key_drawer PATH COUNT
#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    TCompanyDM dm;
    dm.Params.DBQ = QString::fromLocal8Bit(argv[1]);
    QTextStream out(stdout);
    try {
        dm.Connect();
        TCompanyDM::SetCurrent(&dm);
        const int count = QString::fromLocal8Bit(argv[2]).toInt();
        for (int i = 0; i < count; ++i)
            out << GetPrimaryKey(QStringLiteral("Shared")) << ' ' << GetModulePrimaryKey(9) << '\n';
    } catch (const ESystemError& e) {
        QTextStream(stderr) << e.Message() << Qt::endl;
        return 1;
    }
    TCompanyDM::SetCurrent(nullptr);
    return 0;
}
