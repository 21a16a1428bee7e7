#include "foundation/DemoData.h"

#include "foundation/CompanyDM.h"
#include "foundation/Errors.h"
#include "foundation/RecordUtils.h"

#include <QDateTime>
#include <QSqlError>
#include <cmath>
#include <random>

namespace {
using P = TSqlParams;

int NewListID() { return GetPrimaryKey(QStringLiteral("List")); }

struct TDemo {
    TCompanyDM& dm;
    std::mt19937 rng{20051205};
    QDateTime start = QDateTime(QDate::currentDate().addDays(-120), QTime(8, 0));

    int tagShift = 0, tagMachine = 0, tagOperator = 0, templateID = 0;
    QList<int> shiftValues, machineValues, operatorValues;

    double Normal(double mean, double sd) { return std::normal_distribution<double>(mean, sd)(rng); }
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    void Exec(const QString& sql, const P& p) { dm.Exec(sql, p); }

    int Process(const QString& code, const QString& name, int parent, const QString& describe)
    {
        const int id = NewListID();
        Exec(QStringLiteral("insert into L_Process (ProID, ProCode, ProName, ParentID, Describe) "
                            "values (:ProID, :ProCode, :ProName, :ParentID, :Describe)"),
             {{"ProID", id}, {"ProCode", code}, {"ProName", name},
              {"ParentID", parent == 0 ? QVariant() : QVariant(parent)}, {"Describe", describe}});
        return id;
    }

    int Simple(const QString& table, const QString& idCol, const QString& prefix, const QString& code,
               const QString& name, const QString& describe)
    {
        const int id = NewListID();
        Exec(QStringLiteral("insert into %1 (%2, %3Code, %3Name, Describe) values (:ID, :Code, :Name, :Describe)")
                 .arg(table, idCol, prefix),
             {{"ID", id}, {"Code", code}, {"Name", name}, {"Describe", describe}});
        return id;
    }

    int Tag(const QString& code, const QString& name, const QStringList& values, QList<int>& ids)
    {
        const int id = NewListID();
        Exec(QStringLiteral("insert into L_Tag (TagID, TagCode, TagName, TagType, Describe) "
                            "values (:TagID, :TagCode, :TagName, 0, :Describe)"),
             {{"TagID", id}, {"TagCode", code}, {"TagName", name}, {"Describe", name + QStringLiteral("标签")}});
        for (const QString& v : values) {
            const int vid = GetModulePrimaryKey(id);
            Exec(QStringLiteral("insert into L_TagValue (TagID, TagValueID, TagValue, UserInput) "
                                "values (:TagID, :TagValueID, :TagValue, 1)"),
                 {{"TagID", id}, {"TagValueID", vid}, {"TagValue", v}});
            ids << vid;
        }
        return id;
    }

    void Tags()
    {
        tagShift = Tag(QStringLiteral("BC"), QStringLiteral("班次"),
                       {QStringLiteral("早班"), QStringLiteral("中班"), QStringLiteral("夜班")}, shiftValues);
        tagMachine = Tag(QStringLiteral("JT"), QStringLiteral("机台"),
                         {QStringLiteral("1号机"), QStringLiteral("2号机"), QStringLiteral("3号机")}, machineValues);
        tagOperator = Tag(QStringLiteral("CZY"), QStringLiteral("检验员"),
                          {QStringLiteral("检验员甲"), QStringLiteral("检验员乙"), QStringLiteral("检验员丙")},
                          operatorValues);
        templateID = NewListID();
        Exec(QStringLiteral("insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName, Describe) "
                            "values (:ID, :Code, :Name, :Describe)"),
             {{"ID", templateID}, {"Code", QStringLiteral("SC01")}, {"Name", QStringLiteral("生产记录标签")},
              {"Describe", QStringLiteral("班次、机台和检验员")}});
        const int defaults[][2] = {{tagShift, shiftValues[0]}, {tagMachine, machineValues[0]},
                                   {tagOperator, operatorValues[0]}};
        for (const auto& d : defaults) {
            Exec(QStringLiteral("insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) "
                                "values (:ID, :DetailID, :TagID, :TagValueID)"),
                 {{"ID", templateID}, {"DetailID", GetModulePrimaryKey(templateID)}, {"TagID", d[0]},
                  {"TagValueID", d[1]}});
        }
        // A second template with the shift only.
        const int t2 = NewListID();
        Exec(QStringLiteral("insert into L_TagTemplate (TagTemplateID, TagTemplateCode, TagTemplateName, Describe) "
                            "values (:ID, :Code, :Name, :Describe)"),
             {{"ID", t2}, {"Code", QStringLiteral("SC02")}, {"Name", QStringLiteral("班次标签")},
              {"Describe", QStringLiteral("只记录班次")}});
        Exec(QStringLiteral("insert into L_TagTemplateDetail (TagTemplateID, TagTemplateDetailID, TagID, TagValueID) "
                            "values (:ID, :DetailID, :TagID, :TagValueID)"),
             {{"ID", t2}, {"DetailID", GetModulePrimaryKey(t2)}, {"TagID", tagShift}, {"TagValueID", shiftValues[0]}});
    }

    // Tags of a subgroup keyed at time t: the shift follows the clock, machine and inspector vary.
    void SubgroupTags(int cid, int sn, const QDateTime& t)
    {
        const int hour = t.time().hour();
        const int shift = hour >= 8 && hour < 16 ? 0 : (hour >= 16 ? 1 : 2);
        const int tags[][2] = {{tagShift, shiftValues[shift]},
                               {tagMachine, machineValues[Uniform(0, 2)]},
                               {tagOperator, operatorValues[Uniform(0, 2)]}};
        for (const auto& tv : tags)
            Exec(QStringLiteral("insert into D_Tag (CID, SN, TagID, TagValueID) values (:CID, :SN, :TagID, :TagValueID)"),
                 {{"CID", cid}, {"SN", sn}, {"TagID", tv[0]}, {"TagValueID", tv[1]}});
    }

    struct TVItem {
        const char* code;
        const char* name;
        int sampleSize, step, decimals, defChart;
        double mean, sd, lsl, sl, usl;
        const char* unit;
        int count;
    };

    // The process mean at subgroup k: calm, then a sustained shift, a drift and a single outlier.
    double MeanAt(const TVItem& item, int k, double& sdOut)
    {
        double m = item.mean;
        sdOut = item.sd;
        const int n = item.count;
        if (k >= n * 40 / 100 && k < n * 40 / 100 + 12) m += 1.6 * item.sd;                 // shift
        if (k >= n * 65 / 100 && k < n * 65 / 100 + 9) m += (k - n * 65 / 100) * 0.45 * item.sd;  // drift
        if (k == n * 85 / 100) m += 4.5 * item.sd / std::sqrt(double(item.sampleSize));      // outlier
        if (k >= n * 90 / 100 && k < n * 90 / 100 + 8) sdOut *= 1.8;                          // spread
        return m;
    }

    void VariableItem(const TVItem& item, int proID)
    {
        const int cid = NewListID();
        Exec(QStringLiteral("insert into L_VControlItem (CID, CCode, CName, ProID, SampleSize, Step, nSigma, USL, SL, "
                            "LSL, Unit, DefChart, DecPoint, Describe) values (:CID, :CCode, :CName, :ProID, "
                            ":SampleSize, :Step, 3, :USL, :SL, :LSL, :Unit, :DefChart, :DecPoint, :Describe)"),
             {{"CID", cid}, {"CCode", QString::fromUtf8(item.code)}, {"CName", QString::fromUtf8(item.name)},
              {"ProID", proID}, {"SampleSize", item.sampleSize}, {"Step", item.step}, {"USL", item.usl},
              {"SL", item.sl}, {"LSL", item.lsl}, {"Unit", QString::fromUtf8(item.unit)}, {"DefChart", item.defChart},
              {"DecPoint", item.decimals}, {"Describe", QString::fromUtf8(item.name) + QStringLiteral("的过程控制")}});
        QSqlQuery master = dm.Prepare(QStringLiteral("insert into D_VDM (CID, SN, State, WDate) values (:CID, :SN, 1, :WDate)"));
        QSqlQuery detail = dm.Prepare(QStringLiteral("insert into D_VDD (CID, SN, SSN, VResult, WDate) "
                                                     "values (:CID, :SN, :SSN, :VResult, :WDate)"));
        const double scale = std::pow(10.0, item.decimals);
        const qint64 spacing = 120LL * 24 * 3600 / item.count;
        for (int k = 0; k < item.count; ++k) {
            const QDateTime t = start.addSecs(k * spacing + Uniform(0, 600));
            const int sn = GetModulePrimaryKey(cid);
            BindParams(master, {{"CID", cid}, {"SN", sn}, {"WDate", t}});
            dm.ExecPrepared(master, master.lastQuery());
            double sd = 0;
            const double m = MeanAt(item, k, sd);
            for (int j = 1; j <= item.sampleSize; ++j) {
                const double v = std::round(Normal(m, sd) * scale) / scale;
                BindParams(detail, {{"CID", cid}, {"SN", sn}, {"SSN", j}, {"VResult", v}, {"WDate", t.addSecs(j * 20)}});
                dm.ExecPrepared(detail, detail.lastQuery());
            }
            SubgroupTags(cid, sn, t);
        }
    }

    struct TAItem {
        const char* code;
        const char* name;
        int lotSize, inspected;
        double rate;  // rejects per unit (p) or defects per unit (c, u)
        bool unitsVary;
        int count;
    };

    void AttributeItem(const TAItem& item, int proID, const QList<int>& defects)
    {
        const int cid = NewListID();
        Exec(QStringLiteral("insert into L_AControlItem (CID, CCode, CName, ProID, LotSize, Describe) "
                            "values (:CID, :CCode, :CName, :ProID, :LotSize, :Describe)"),
             {{"CID", cid}, {"CCode", QString::fromUtf8(item.code)}, {"CName", QString::fromUtf8(item.name)},
              {"ProID", proID}, {"LotSize", item.lotSize},
              {"Describe", QString::fromUtf8(item.name) + QStringLiteral("的不合格统计")}});
        for (int dp : defects)
            Exec(QStringLiteral("insert into L_AControlItemDP (CID, DPID) values (:CID, :DPID)"),
                 {{"CID", cid}, {"DPID", dp}});
        const qint64 spacing = 120LL * 24 * 3600 / item.count;
        for (int k = 0; k < item.count; ++k) {
            const QDateTime t = start.addSecs(k * spacing + Uniform(0, 900));
            const int sn = GetModulePrimaryKey(cid);
            const int inspected = item.unitsVary ? item.inspected + Uniform(-item.inspected / 4, item.inspected / 4)
                                                 : item.inspected;
            double rate = item.rate;
            if (k >= item.count / 2 && k < item.count / 2 + 6) rate *= 2.2;  // a bad material lot
            if (k == item.count * 8 / 10) rate *= 3.5;
            const double expected = rate * inspected;
            const int found = std::poisson_distribution<int>(expected)(rng);
            const int rejected = std::min(found, inspected);
            Exec(QStringLiteral("insert into D_ADM (CID, SN, Batch, Inspected, Rejected, State, WDate) "
                                "values (:CID, :SN, :Batch, :Inspected, :Rejected, 1, :WDate)"),
                 {{"CID", cid}, {"SN", sn}, {"Batch", item.lotSize}, {"Inspected", inspected},
                  {"Rejected", rejected}, {"WDate", t}});
            // Spread the defects over the item's defect items, the first ones most often (a Pareto).
            QList<int> perItem(defects.size(), 0);
            for (int d = 0; d < found; ++d) {
                const double u = std::uniform_real_distribution<double>(0, 1)(rng);
                int idx = int(std::floor(std::pow(u, 2.2) * defects.size()));
                perItem[std::min(idx, int(defects.size()) - 1)]++;
            }
            for (int d = 0; d < defects.size(); ++d) {
                if (perItem[d] == 0) continue;
                Exec(QStringLiteral("insert into D_ADD (CID, SN, DPID, Defected) values (:CID, :SN, :DPID, :Defected)"),
                     {{"CID", cid}, {"SN", sn}, {"DPID", defects[d]}, {"Defected", perItem[d]}});
            }
            SubgroupTags(cid, sn, t);
        }
    }

    struct TRule {
        const char* code;
        const char* name;
        const char* describe;
        int target, judgeType, n, pattern, m;
    };

    QList<int> Rules()
    {
        const TRule rules[] = {
            {"R01", "一点超出控制限", "XBar-R 控制图中主控制图1点中有1点在控制限外", 1, 2, 1, 8, 1},
            {"R02", "连续9点在中心线同侧", "XBar-R 控制图中主控制图连续9点在中心线同一侧", 1, 1, 9, 4, 0},
            {"R03", "连续6点上升", "XBar-R 控制图中主控制图连续6点上升", 1, 1, 6, 1, 0},
            {"R04", "连续6点下降", "XBar-R 控制图中主控制图连续6点下降", 1, 1, 6, 3, 0},
            {"R05", "连续14点上下交错", "XBar-R 控制图中主控制图连续14点相邻点上下交错", 1, 1, 14, 10, 0},
            {"R06", "3点中有2点在A区", "XBar-R 控制图中主控制图3点中有2点在二倍和三倍的标准差内", 1, 2, 3, 7, 2},
            {"R07", "5点中有4点在B区", "XBar-R 控制图中主控制图5点中有4点在一倍和二倍的标准差内", 1, 2, 5, 6, 4},
            {"R08", "连续15点在C区", "XBar-R 控制图中主控制图15点中有15点在一倍的标准差内", 1, 2, 15, 5, 15},
            {"R09", "连续7点不变", "XBar-R 控制图中主控制图连续7点不变", 1, 1, 7, 2, 0},
            {"R10", "一点超出规格限", "XBar-R 控制图中主控制图1点中有1点在规格限外", 1, 2, 1, 9, 1},
            {"R11", "极差图一点超出控制限", "XBar-R 控制图中副控制图1点中有1点在控制限外", 2, 2, 1, 8, 1},
        };
        QList<int> ids;
        for (const auto& r : rules) {
            const int id = NewListID();
            const bool trend = r.judgeType == 1;
            Exec(QStringLiteral("insert into L_JudgeRule (JRID, JRCode, JRName, Describe, AutoDescribe, TargetType, "
                                "JudgeType, Area_Trend, ExceptionType_Trend, Area_Run, Exception_Run, ExceptionType_Run) "
                                "values (:JRID, :JRCode, :JRName, :Describe, 1, :TargetType, :JudgeType, :AreaTrend, "
                                ":TypeTrend, :AreaRun, :ExceptionRun, :TypeRun)"),
                 {{"JRID", id}, {"JRCode", QString::fromUtf8(r.code)}, {"JRName", QString::fromUtf8(r.name)},
                  {"Describe", QString::fromUtf8(r.describe)}, {"TargetType", r.target}, {"JudgeType", r.judgeType},
                  {"AreaTrend", trend ? QVariant(r.n) : QVariant()}, {"TypeTrend", trend ? QVariant(r.pattern) : QVariant()},
                  {"AreaRun", trend ? QVariant() : QVariant(r.n)}, {"ExceptionRun", trend ? QVariant() : QVariant(r.m)},
                  {"TypeRun", trend ? QVariant() : QVariant(r.pattern)}});
            ids << id;
        }
        return ids;
    }

    void RuleTemplate(const QString& code, const QString& name, const QString& describe, const QList<int>& rules)
    {
        const int id = NewListID();
        Exec(QStringLiteral("insert into L_JudgeRuleTemplate (JRTID, JRTCode, JRTName, Describe) "
                            "values (:ID, :Code, :Name, :Describe)"),
             {{"ID", id}, {"Code", code}, {"Name", name}, {"Describe", describe}});
        for (int r : rules)
            Exec(QStringLiteral("insert into L_JudgeRuleTemplateDetail (JRTID, JRID) values (:JRTID, :JRID)"),
                 {{"JRTID", id}, {"JRID", r}});
    }
};
} // namespace

void WriteDemoContent(TCompanyDM& dm)
{
    TCompanyDM* previous = TCompanyDM::Current();
    TCompanyDM::SetCurrent(&dm);
    try {
        TTransactionGuard guard(dm);
        TDemo d{dm};
        const int plant = d.Process(QStringLiteral("P00"), QStringLiteral("发动机零件厂"), 0, QStringLiteral("全厂"));
        const int machining = d.Process(QStringLiteral("P10"), QStringLiteral("机加工车间"), plant, QStringLiteral("活塞与轴类加工"));
        const int piston = d.Process(QStringLiteral("P11"), QStringLiteral("活塞环加工"), machining, QStringLiteral("活塞环精车与研磨"));
        const int shaft = d.Process(QStringLiteral("P12"), QStringLiteral("曲轴磨削"), machining, QStringLiteral("主轴颈磨削"));
        const int chem = d.Process(QStringLiteral("P20"), QStringLiteral("涂装车间"), plant, QStringLiteral("喷涂与烘干"));
        const int mix = d.Process(QStringLiteral("P21"), QStringLiteral("涂料调配"), chem, QStringLiteral("涂料粘度控制"));
        const int spray = d.Process(QStringLiteral("P22"), QStringLiteral("喷涂"), chem, QStringLiteral("涂层厚度控制"));
        const int assembly = d.Process(QStringLiteral("P30"), QStringLiteral("总装车间"), plant, QStringLiteral("电控装配与检验"));
        const int pcb = d.Process(QStringLiteral("P31"), QStringLiteral("电路板焊接"), assembly, QStringLiteral("波峰焊"));
        const int finalInsp = d.Process(QStringLiteral("P32"), QStringLiteral("成品检验"), assembly, QStringLiteral("出厂检验"));
        const int cold = d.Process(QStringLiteral("P33"), QStringLiteral("冷冻试验"), assembly, QStringLiteral("低温性能试验"));

        d.Tags();

        const QString caseTable = QStringLiteral("L_Case");
        const struct { const char *code, *name, *describe; } cases[] = {
            {"C01", "刀具磨损", "刀具寿命到期或崩刃"}, {"C02", "原料批次变化", "来料硬度或成分波动"},
            {"C03", "设备参数漂移", "温度、压力或转速偏离设定"}, {"C04", "操作不当", "未按作业指导书操作"},
            {"C05", "测量误差", "量具未校准或测量方法不当"}, {"C06", "环境变化", "车间温湿度异常"},
        };
        for (const auto& c : cases)
            d.Simple(caseTable, QStringLiteral("CaseID"), QStringLiteral("Case"), QString::fromUtf8(c.code),
                     QString::fromUtf8(c.name), QString::fromUtf8(c.describe));
        const struct { const char *code, *name, *describe; } actions[] = {
            {"A01", "更换刀具", "更换并记录刀具寿命"}, {"A02", "调整设备参数", "恢复工艺设定值"},
            {"A03", "重新培训", "对操作者进行作业指导书培训"}, {"A04", "校准量具", "送计量室校准"},
            {"A05", "隔离可疑品", "隔离本批次并全检"}, {"A06", "通知供应商", "要求供应商分析并改善"},
        };
        for (const auto& a : actions)
            d.Simple(QStringLiteral("L_Action"), QStringLiteral("ActionID"), QStringLiteral("Action"),
                     QString::fromUtf8(a.code), QString::fromUtf8(a.name), QString::fromUtf8(a.describe));

        // Defect categories and items.
        const int appearance = d.Simple(QStringLiteral("L_DefectItem"), QStringLiteral("DID"), QStringLiteral("D"),
                                        QStringLiteral("D01"), QStringLiteral("外观缺陷"), QStringLiteral("表面与外观"));
        const int function = d.Simple(QStringLiteral("L_DefectItem"), QStringLiteral("DID"), QStringLiteral("D"),
                                      QStringLiteral("D02"), QStringLiteral("功能缺陷"), QStringLiteral("电气与功能"));
        auto phenomenon = [&](const char* code, const char* name, int ponderance, int did) {
            const int id = NewListID();
            dm.Exec(QStringLiteral("insert into L_DefectPhenomenon (DPID, DPCode, DPName, Ponderance, DID, Describe) "
                                   "values (:DPID, :DPCode, :DPName, :Ponderance, :DID, :Describe)"),
                    {{"DPID", id}, {"DPCode", QString::fromUtf8(code)}, {"DPName", QString::fromUtf8(name)},
                     {"Ponderance", ponderance}, {"DID", did}, {"Describe", QString::fromUtf8(name)}});
            dm.Exec(QStringLiteral("insert into L_DefectItemDP (DID, DPID) values (:DID, :DPID)"),
                    {{"DID", did}, {"DPID", id}});
            return id;
        };
        const int scratch = phenomenon("DP01", "划伤", 3, appearance);
        const int stain = phenomenon("DP02", "污渍", 3, appearance);
        const int dent = phenomenon("DP03", "变形", 2, appearance);
        const int bubble = phenomenon("DP04", "气泡", 3, appearance);
        const int colour = phenomenon("DP05", "色差", 3, appearance);
        const int cold_ = phenomenon("DP06", "虚焊", 2, function);
        const int missing = phenomenon("DP07", "漏焊", 2, function);
        const int bridge = phenomenon("DP08", "短路", 1, function);

        const TDemo::TVItem vitems[] = {
            {"V001", "活塞环直径", 5, 1, 3, 1, 74.000, 0.010, 73.970, 74.000, 74.030, "mm", 240},
            {"V002", "主轴颈直径", 4, 1, 3, 1, 25.000, 0.012, 24.950, 25.000, 25.050, "mm", 220},
            {"V003", "涂料粘度", 1, 1, 2, 3, 14.90, 0.35, 13.00, 15.00, 17.00, "Pa·s", 200},
            {"V004", "焊点拉力", 8, 1, 1, 2, 120.0, 4.0, 100.0, 120.0, 140.0, "N", 200},
            {"V005", "涂层厚度", 30, 1, 1, 2, 50.0, 1.6, 44.0, 50.0, 56.0, "μm", 150},
            {"V006", "冷冻室温度", 1, 2, 1, 3, -18.0, 0.6, -21.0, -18.0, -15.0, "℃", 200},
        };
        const int vproc[] = {piston, shaft, mix, pcb, spray, cold};
        for (int i = 0; i < 6; ++i) d.VariableItem(vitems[i], vproc[i]);

        const TDemo::TAItem aitems[] = {
            {"A001", "活塞外观不良", 500, 200, 0.035, false, 160},
            {"A002", "电路板焊接缺陷", 100, 50, 0.12, true, 160},
            {"A003", "成品外观缺陷数", 50, 1, 3.0, false, 150},
        };
        d.AttributeItem(aitems[0], piston, {scratch, dent, stain});
        d.AttributeItem(aitems[1], pcb, {cold_, missing, bridge});
        d.AttributeItem(aitems[2], finalInsp, {scratch, stain, bubble, colour, dent});

        const QList<int> rules = d.Rules();
        d.RuleTemplate(QStringLiteral("T01"), QStringLiteral("常用判异规则"), QStringLiteral("八项常用判异准则"),
                       {rules[0], rules[1], rules[2], rules[3], rules[4], rules[5], rules[6], rules[7]});
        d.RuleTemplate(QStringLiteral("T02"), QStringLiteral("基本规则"), QStringLiteral("超限与同侧"),
                       {rules[0], rules[1], rules[10]});
        guard.Commit();
    } catch (...) {
        TCompanyDM::SetCurrent(previous);
        throw;
    }
    TCompanyDM::SetCurrent(previous);
}
