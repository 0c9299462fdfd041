// Attribute names of large elements: a name used twice is refused whatever the element's
// shape, runs of indexed names (as lists are written) are told apart without a table of
// names, and a list's values find their indices in one pass in any order.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivPersistList.h"

namespace {

using Names = std::vector<std::string>;

// stem + first, stem + (first + 1)... up to stem + last, rising or falling.
Names IndexedRun(const std::string& stem, long long first, long long last) {
    Names names;
    const long long step = first <= last ? 1 : -1;
    for (long long i = first;; i += step) {
        names.push_back(stem + std::to_string(i));
        if (i == last) break;
    }
    return names;
}

Names Join(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::string Element(const Names& names) {
    std::string text = "<r><e";
    for (const std::string& n : names) text += " " + n + "=\"1\"";
    return text + "/></r>";
}

// What the wrapper must say: the first name, in document order, that an earlier attribute
// already has; empty when every name is distinct.
std::string FirstRepeated(const Names& names) {
    std::set<std::string> seen;
    for (const std::string& n : names)
        if (!seen.insert(n).second) return n;
    return {};
}

// The name LoadXMLUtf8 refuses an element for; empty when it loads.
std::string Refused(CKivXMLDOMDocObj& doc, const Names& names) {
    if (doc.LoadXMLUtf8(Element(names))) return {};
    const std::string& why = doc.GetLastParseError().description;
    const std::string lead = "two attributes named '";
    const size_t at = why.find(lead);
    if (at == std::string::npos) return "(refused for another reason: " + why + ")";
    return why.substr(at + lead.size(), why.size() - at - lead.size() - 1);
}

}  // namespace

// Elements above the pairwise limit (16 attributes), in the shapes lists and hosts give
// them, each second use past that limit. Lists as written never go through the table of
// names, however long; the others still do.
TEST(XmlDocument, LargeElementsRefuseANameUsedTwiceWhateverTheirShape) {
    struct Case {
        const char* what;
        Names names;
        const char* twice;  // the name refused, empty when the element loads
        bool table;         // whether the names go through the table
    };
    const Case cases[] = {
        {"a list as written", Join({{"Count"}, IndexedRun("V", 0, 19999)}), "", false},
        {"a list with a value again", Join({{"Count"}, IndexedRun("V", 0, 19), {"V7"}}), "V7", true},
        {"a list in two parts", Join({IndexedRun("V", 0, 9), {"Count"}, IndexedRun("V", 10, 19)}), "", false},
        {"two parts that overlap", Join({IndexedRun("V", 0, 19), {"Count"}, IndexedRun("V", 15, 24)}), "V15", true},
        {"two lists", Join({IndexedRun("V", 0, 19), IndexedRun("W", 0, 19)}), "", false},
        {"a leading zero is another name", Join({{"V01"}, IndexedRun("V", 1, 20)}), "", false},
        {"another name twice", Join({{"V01"}, IndexedRun("V", 1, 20), {"V01"}}), "V01", true},
        {"a stem ending in a digit", Join({{"A1"}, IndexedRun("A", 10, 29)}), "", false},
        {"one name inside a run", Join({IndexedRun("B", 0, 19), {"A15"}, IndexedRun("A", 10, 29)}), "A15", true},
        {"the longest indices", Join({IndexedRun("V", 999999999999999990ll, 999999999999999999ll), {"V1000000000000000000"},
                                      IndexedRun("W", 0, 9)}),
         "", false},
        {"many plain names", Join({{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q"}}),
         "", true},
        {"many plain names, one twice", Join({{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "c"}}),
         "c", true},
        {"a list written backwards", IndexedRun("V", 19, 0), "", true},
        {"backwards, a value again", Join({IndexedRun("V", 19, 0), {"V3"}}), "V3", true},
    };
    CKivXMLDOMDocObj doc;
    for (const Case& c : cases) {
        ASSERT_EQ(FirstRepeated(c.names), c.twice) << c.what << ": the case itself is wrong";
        const long hashedBefore = KivXmlNamesHashed();
        EXPECT_EQ(Refused(doc, c.names), c.twice) << c.what;
        EXPECT_EQ(KivXmlNamesHashed() > hashedBefore, c.table) << c.what;
    }
}

// Runs are a way to an answer the table of names also gives: on random elements of runs,
// repeats, leading zeros and stems ending in digits they agree with a plain set of names.
TEST(XmlDocument, RunsAgreeWithAPlainSetOnRandomElements) {
    std::mt19937 random(20240611);
    const char* stems[] = {"A", "B", "A1", "Count"};
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    CKivXMLDOMDocObj doc;
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        Names names;
        const int size = 17 + pick(60);
        std::string stem = stems[0];
        int index = 0;
        while (static_cast<int>(names.size()) < size) {
            if (pick(4) != 0) {  // most names carry on the run before them
                names.push_back(stem + std::to_string(++index));
                continue;
            }
            stem = stems[pick(4)];
            index = pick(40);
            const int spelling = pick(10);
            names.push_back(spelling == 0 ? stem : spelling == 1 ? stem + "0" + std::to_string(index) : stem + std::to_string(index));
        }
        const std::string twice = FirstRepeated(names);
        refused += !twice.empty();
        ASSERT_EQ(Refused(doc, names), twice) << Element(names);
    }
    EXPECT_GT(refused, 100) << "the elements must test both answers";
    EXPECT_LT(refused, 1900) << "the elements must test both answers";
}

// A list's loader reads each name's index as KivXmlListIndex does, in whatever order the
// names come: in order, from a random place, twice, past the count, with leading zeros.
TEST(XmlListNames, GiveEveryNameTheIndexItsTextGives) {
    std::mt19937 random(7);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (const char* prefix : {"ShadeColor", "V1"}) {
        for (int round = 0; round < 200; ++round) {
            const int count = pick(50);
            KivXmlListNames names(prefix, count);
            int next = 0;
            for (int i = 0; i < 100; ++i) {
                std::string name;
                switch (pick(6)) {
                case 0: next = pick(60); [[fallthrough]];
                case 1:
                case 2: name = prefix + std::to_string(next++); break;
                case 3: name = prefix + std::string("0") + std::to_string(pick(60)); break;
                case 4: name = std::string("V") + std::to_string(pick(200)); break;
                default: name = "Count"; break;
                }
                ASSERT_EQ(names.IndexOf(name.c_str()), KivXmlListIndex(name.c_str(), prefix, count))
                    << name << " with prefix " << prefix << ", count " << count;
            }
        }
    }
}
