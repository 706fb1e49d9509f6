#include "phonomir/TableCatalog.h"

#include <cstdio>

namespace phonomir {
namespace {

FieldSpec text(const char *name, int width) { return {name, 'C', width, 0}; }
FieldSpec integer(const char *name, int width) { return {name, 'I', width, 0}; }
FieldSpec decimal(const char *name, int width, int decimals) { return {name, 'N', width, decimals}; }
FieldSpec memo(const char *name) { return {name, 'B', 0, 0}; }

std::string numbered(const char *stem, int number, const char *format) {
    char name[16];
    std::snprintf(name, sizeof name, format, stem, number);
    return name;
}

TableLayout makeFolder() {
    TableLayout t;
    t.file = "FOLDER.DBF";
    t.fields = {integer("FOLDERID", 8), text("TYPE", 1), text("NAME", 20), text("PLACE", 20), text("DATE", 8),
                text("TITLE", 30), text("COMMENT", 100), decimal("SCALE", 8, 2)};
    t.indexes = {{"FOLDER1.EDX", "FOLDERID", true, 4203}};
    t.requiredLength = 196;
    t.oldLayout = OldLayoutAction::Convert;
    t.question = 4101;
    t.messages = {4200, 4201, 4202, 4204, 4205, 0};
    return t;
}

TableLayout makeImpulse() {
    TableLayout t;
    t.file = "IMPULSE.DBF";
    t.memoFile = "IMPULSE.BIN";
    t.fields = {integer("FOLDERID", 8), integer("IMPULSEID", 8), integer("SAMPLING", 6), integer("MESTIME", 2),
                integer("MESNUM", 3), integer("CHANNEL", 1), integer("BIT", 2), text("TIME", 14), text("TITLE", 30),
                text("COMMENT", 100), integer("USEFILTER", 1), integer("IFILTERID", 8), decimal("TEMPERATUR", 8, 2),
                decimal("HUMIDITY", 8, 2), integer("MULTIPLIER", 5), memo("WAVEDATA")};
    t.indexes = {{"IMPULSE1.EDX", "FOLDERID", false, 4241}, {"IMPULSE2.EDX", "IMPULSEID", true, 4242}};
    t.requiredLength = 205;
    t.oldLayout = OldLayoutAction::Convert;
    t.question = 4100;
    t.messages = {4207, 4208, 4209, 4210, 4211, 0};
    return t;
}

TableLayout makeAcf() {
    TableLayout t;
    t.file = "ACF.DBF";
    t.memoFile = "ACF.BIN";
    t.fields = {integer("FOLDERID", 8), integer("ACFID", 8), integer("SAMPLING", 6), integer("CHANNEL", 1),
                integer("SAMPLENUM", 10), decimal("DATATIME", 8, 2), text("TIME", 14), text("TITLE", 30),
                text("COMMENT", 100), memo("WAVEDATA")};
    t.indexes = {{"ACF1.EDX", "FOLDERID", false, 4253}, {"ACF2.EDX", "ACFID", true, 4254}};
    t.requiredLength = 186;
    t.oldLayout = OldLayoutAction::Convert;
    t.question = 4105;
    t.messages = {4248, 4249, 4250, 4251, 4252, 0};
    return t;
}

TableLayout makeNoise() {
    TableLayout t;
    t.file = "NMS.DBF";
    t.memoFile = "NMS.BIN";
    t.fields = {integer("FOLDERID", 8), integer("NMSID", 8), integer("SAMPLING", 6), integer("CHANNEL", 1),
                integer("SAMPLENUM", 10), integer("NUMBER", 6), decimal("DATATIME", 8, 2), text("TIME", 14),
                integer("CONDSIZE", 5), integer("FACTSIZE", 5), integer("NNMSFACT", 6), memo("WAVEDATA"),
                memo("NMSCOND"), memo("NMSFACTOR"), memo("NOISESRC")};
    t.indexes = {{"NMS1.EDX", "FOLDERID", false, 4260}, {"NMS2.EDX", "NMSID", true, 4261}};
    t.requiredLength = 78;
    t.requiredFieldCount = 15;
    t.oldLayout = OldLayoutAction::Convert;
    t.question = 4106;
    t.messages = {4255, 4256, 4257, 0, 0, 0};
    return t;
}

TableLayout makeAcParameter() {
    TableLayout t;
    t.file = "ACPARAM.DBF";
    t.fields = {integer("IMPULSEID", 8), integer("NDATA", 2), integer("FREQBAND", 1), integer("AFILTER", 1),
                integer("SPLREFDATA", 8), decimal("SPLREFLVL", 8, 2), decimal("DT1MINTIME", 8, 2),
                decimal("TSUBEND", 8, 2), integer("TSUBAUTO", 1), decimal("TSUBNOISE", 8, 2),
                decimal("IACCWLEVEL", 8, 2), decimal("PREFSPL", 8, 2), decimal("PREFTAUE", 8, 2),
                decimal("DELTAT0L", 8, 2), decimal("DELTAT0R", 8, 2), decimal("DELTAT1L", 8, 2),
                decimal("DELTAT1R", 8, 2)};
    const char *bandFields[] = {"SPLL", "SPLR", "AL", "AR", "TSUBL", "TSUBR", "IACC", "TIACC", "WIACC"};
    for (int band = 0; band < 34; ++band) {
        t.fields.push_back({numbered("FREQ", band, "%s%d"), 'I', 6, 0});
        for (const char *stem : bandFields) t.fields.push_back({numbered(stem, band, "%s%d"), 'N', 8, 2});
    }
    t.indexes = {{"ACPARAM1.EDX", "IMPULSEID", true, 4214}};
    t.requiredLength = 2762;
    t.oldLayout = OldLayoutAction::Recreate;
    t.question = 4104;
    t.messages = {4212, 4213, 0, 0, 0, 0};
    return t;
}

TableLayout makeAcfFactor() {
    TableLayout t;
    t.file = "ACFFACT.DBF";
    t.fields = {integer("ACFID", 8), integer("CONDSIZE", 5), integer("FACTSIZE", 5), integer("NACFFACT", 4),
                memo("ACFCOND2"), memo("ACFFACTOR")};
    t.indexes = {{"ACFFACT1.EDX", "ACFID", true, 4214}};
    t.requiredLength = 23;
    t.requiredField5 = "ACFCOND2";
    t.oldLayout = OldLayoutAction::Recreate;
    t.question = 4104;
    t.messages = {4212, 4213, 0, 0, 0, 0};
    return t;
}

TableLayout makeFilter() {
    TableLayout t;
    t.file = "IFILTER.DBF";
    t.fields = {integer("IFILTERID", 8), text("TITLE", 30), text("COMMENT", 100), integer("SAMPLING", 6),
                decimal("STARTPOS", 8, 3), decimal("ENDPOS", 8, 3), integer("MAXLEVEL", 3), integer("PHASEADJ", 1),
                memo("IRDATA")};
    t.indexes = {{"IFILTER1.EDX", "IFILTERID", true, 4220}};
    t.messages = {4218, 4219, 0, 4221, 4222, 4224};
    return t;
}

TableLayout makeMicCal() {
    TableLayout t;
    t.file = "MICCAL.DBF";
    t.fields = {integer("MICCALID", 8), text("MICINFO", 30), text("MICAMPINFO", 30), text("COMMENT", 100),
                decimal("INPUTSENS", 8, 2), integer("INPUTSEL", 6), integer("INPUTVOL", 6), integer("NFREQDATA", 6)};
    for (int pair = 1; pair <= 20; ++pair) {
        t.fields.push_back({numbered("FREQ", pair, "%s%02d"), 'N', 8, 2});
        t.fields.push_back({numbered("LEVEL", pair, "%s%02d"), 'N', 8, 2});
    }
    t.indexes = {{"MICCAL1.EDX", "MICCALID", true, 4228}};
    t.requiredLength = 515;
    t.oldLayout = OldLayoutAction::Convert;
    t.question = 4103;
    t.messages = {4225, 4226, 4227, 4229, 4230, 4232};
    return t;
}

TableLayout makePreset() {
    TableLayout t;
    t.file = "PRESET.DBF";
    t.memoFile = "PRESET.BIN";
    t.fields = {integer("PRESETID", 8), text("TITLE", 30), integer("OPENWINDOW", 6), memo("SG"), memo("RTA"),
                memo("OS"), memo("IMP"), memo("ACF")};
    t.indexes = {{"PRESET1.EDX", "PRESETID", true, 4236}};
    t.requiredLength = 45;
    t.oldLayout = OldLayoutAction::Convert;
    t.question = 4102;
    t.messages = {4233, 4234, 4235, 4237, 4238, 4240};
    return t;
}

}  // namespace

const TableLayout &folderTable() { static const TableLayout t = makeFolder(); return t; }
const TableLayout &impulseTable() { static const TableLayout t = makeImpulse(); return t; }
const TableLayout &acfTable() { static const TableLayout t = makeAcf(); return t; }
const TableLayout &noiseTable() { static const TableLayout t = makeNoise(); return t; }
const TableLayout &acParameterTable() { static const TableLayout t = makeAcParameter(); return t; }
const TableLayout &acfFactorTable() { static const TableLayout t = makeAcfFactor(); return t; }
const TableLayout &filterTable() { static const TableLayout t = makeFilter(); return t; }
const TableLayout &micCalTable() { static const TableLayout t = makeMicCal(); return t; }
const TableLayout &presetTable() { static const TableLayout t = makePreset(); return t; }

}  // namespace phonomir
