#include "booklist_generator.h"

#include <fstream>
#include <random>
#include <vector>

namespace {

const std::vector<std::string> Words = {
    "silver",  "hidden",    "crooked",    "midnight", "whispering", "forgotten", "tiny",
    "brave",   "clockwork", "painted",    "lonely",   "rusty",      "secret",    "golden",
    "noisy",   "invisible", "lighthouse", "wombat",   "kite",       "orchard",   "compass",
    "lantern", "teapot",    "dragon",     "garden",   "echidna",    "submarine", "library",
    "bicycle", "storm",     "island",     "fox",      "balloon",    "violin"};
const std::vector<std::string> Surnames = {
    "Ambersley",  "Brackenfold", "Corriwell", "Dunmarrow", "Eddisford", "Fallowmere", "Greythorn",
    "Hazelgrove", "Inchbarrow",  "Jessamine", "Kettleby",  "Larkspur",  "Mossingham", "O'Rourkin"};
const std::vector<std::string> Levels = {"Early Years (R-2)", "Primary Years (3-5)",
                                         "Middle Years (6-9, Special)", "Mature"};
const std::vector<std::string> Categories = {"Adventure",       "Animals",    "Fantasy", "Humour",
                                             "Mystery",         "Friendship", "Family",  "History",
                                             "Science fiction", "Sport",      "Poetry",  "Nature"};
const std::vector<std::string> Formats = {"Book", "Book", "Audio book", "Ebook", "Book;Ebook", ""};

std::string Pick(std::mt19937& random, const std::vector<std::string>& list) {
    return list[random() % list.size()];
}

std::string Sentence(std::mt19937& random, int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        if (i > 0) text += ' ';
        text += Pick(random, Words);
    }
    return text;
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = char(text[0] - 'a' + 'A');
    return text;
}

}  // namespace

std::string GeneratedTitle(unsigned seed) {
    std::mt19937 random(seed);
    return "The " + Capitalised(Sentence(random, 2 + int(random() % 5))) + "'s Tale";
}

void WriteGeneratedBooklist(const std::filesystem::path& folder, int entries, int matched) {
    std::mt19937 random(12345);
    std::ofstream booklist(folder / "Booklist.tul", std::ios::binary);
    booklist << "ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories"
                "\tLevel\tSeries\tFormat\tSCIS\r\n";
    for (int i = 0; i < entries; ++i) {
        const int id = 100000 + i;
        std::string categories = Pick(random, Categories);
        for (int c = int(random() % 3); c > 0; --c)
            categories += ";" + Pick(random, Categories);
        booklist << id << '\t' << GeneratedTitle(unsigned(i)) << '\t' << Pick(random, Surnames)
                 << ", " << Capitalised(Pick(random, Words)) << '\t' << (random() % 2 ? "Y" : "N")
                 << '\t' << Capitalised(Pick(random, Words)) << " Press\t" << 1980 + random() % 45
                 << "\t978 0 " << random() % 10000 << ' ' << random() % 10000 << '\t'
                 << Capitalised(Sentence(random, 32)) << ".\t" << categories << '\t'
                 << Pick(random, Levels) << '\t'
                 << (random() % 4 == 0 ? Capitalised(Sentence(random, 2)) : "") << '\t'
                 << Pick(random, Formats) << '\t' << random() % 10000000 << "\r\n";
    }
    std::ofstream matches(folder / "Matches.tul", std::ios::binary);
    for (int i = 0; i < matched; ++i) {
        matches << 100000 + (i * 5) % entries << ",F " << Pick(random, Surnames).substr(0, 3)
                << "\r\n";
    }
}
