// A long editing session on a long name, the way the editor stores it: one
// record with a 100 kB name, 10,000 keystrokes (a letter typed, then taken
// back), each stored as the dialog does. Prints the peak resident set:
//   tolvari_editpeak [EDITS] [NAME_BYTES]
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/EditRules.h"

namespace {

struct Editor : CEditRules {
    Editor() : CEditRules(0) {}
    void ExchangeToControls() override {}
    void ExchangeFromControls() override {}
    bool ConfirmDelete(const std::string&) override { return true; }
};

long PeakKiB()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv)
{
    const int edits = argc > 1 ? std::atoi(argv[1]) : 10000;
    const size_t nameBytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 100000;
    RecordList list;
    list.m_arrDay.Add("05"), list.m_arrMonth.Add("03"), list.m_arrYear.Add("1950");
    list.m_arrName.Add(std::string(nameBytes, 'n'));
    list.m_nCount = 1;
    Editor ed;
    ed.m_nCount = 1;
    ed.m_nCurrent = 0;
    ed.m_pDay = &list.m_arrDay, ed.m_pMonth = &list.m_arrMonth, ed.m_pYear = &list.m_arrYear;
    ed.m_pName = &list.m_arrName;
    ed.Start();
    const long start = PeakKiB();
    for (int i = 0; i < edits; ++i) {
        if (i % 2 == 0)
            ed.m_strEditName += 'x';
        else
            ed.m_strEditName.pop_back();
        ed.OnFieldChange();
    }
    std::printf("edits %d of a %zu-byte name\npeak RSS before %ld KiB, after %ld KiB\n", edits, nameBytes, start,
                PeakKiB());
    return 0;
}
