// Writes Quarrow's demo table (Hungarian text in code page 852, every field type, memos) with the
// program's own engine. Usage: quarrow_demo <folder>; writes <folder>/DEMO.DBF and DEMO.DBT.
#include <cstdio>
#include <string>

#include "dbf/dbf.h"

namespace {

struct Person {
    const char* name;
    const char* city;
    const char* born;  // YYYYMMDD
    const char* salary;
    const char* active;
    const char* note;
};

// Texts are Windows-1250 at run time; the engine stores them in code page 852.
const Person kPeople[] = {
    {"Kovács Éva", "Győr", "19780312", "412500.50", "T", "Könyvelő, a pénzügyi osztály vezetője."},
    {"Szőke Ödön", "Pécs", "19650721", "389000", "T", "Raktáros.\r\nHétvégén ügyeletes."},
    {"Tóth Ágnes", "Székesfehérvár", "19910205", "298750.25", "F", ""},
    {"Nagy Ferenc", "Debrecen", "19820930", "505000", "T", "Osztályvezető; szabadságon augusztusban."},
    {"Horváth Zsuzsanna", "Szeged", "19730418", "455100", "T", "Ügyfélszolgálat."},
    {"Kiss Béla", "Miskolc", "19590101", "367800.75", "F", "Nyugdíjas, tanácsadó."},
    {"Varga Írisz", "Eger", "19990614", "276300", "T", ""},
    {"Molnár Gyula", "Sopron", "19871122", "401200", "T", "Gépkocsivezető.\r\nJogosítvány: B, C."},
    {"Németh Ünige", "Kecskemét", "19940308", "312450.10", "T", "Árajánlatok, megrendelések."},
    {"Farkas Őrs", "Veszprém", "19700527", "478900", "F", "Áthelyezve a győri telephelyre."},
    {"Balogh Réka", "Nyíregyháza", "19850819", "355000", "T", ""},
    {"Papp Lőrinc", "Szombathely", "19770204", "420000", "T", "Műszakvezető."},
};

FieldDef field(const char* name, char type, uint16_t width, uint8_t decimals = 0) {
    FieldDef def = {};
    snprintf(def.name, sizeof def.name, "%s", name);
    def.type = type;
    def.width = width;
    def.decimals = decimals;
    return def;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string name = std::string(argv[1]) + "/DEMO.DBF";
    const FieldDef fields[] = {
        field("NEV", 'C', 24),        field("VAROS", 'C', 16), field("SZULETETT", 'D', 8),
        field("FIZETES", 'N', 12, 2), field("AKTIV", 'L', 1),  field("MEGJEGYZES", 'M', 10),
    };
    dbf table(name.c_str());
    if (!table.create(fields, 6) || !table.open(1) || !table.lockTable()) {
        fprintf(stderr, "cannot write %s\n", name.c_str());
        return 1;
    }
    for (const Person& p : kPeople) {
        const char* texts[] = {p.name, p.city, p.born, p.salary, p.active};
        if (!table.appendBlank())
            return 1;
        for (int i = 0; i < 5; ++i)
            table.setField(i, texts[i]);
        if (!table.writeRecord())
            return 1;
        if (*p.note && table.writeMemo(5, p.note) != 1)
            return 1;
    }
    // One deleted record, so the grid's deletion mark has something to show.
    table.goTo(3);
    table.deleteRecord();
    table.unlock();
    table.close();
    printf("%s\n", name.c_str());
    return 0;
}
