#include "demo_catalog.h"

#include <cctype>
#include <stdexcept>

namespace zentrail::dms_demo {
namespace {

struct City {
    int stateId;
    const char* name;
    const char* pinPrefix;  // first three digits of its postal codes
    const char* phonePrefix;
};

const std::vector<City>& Cities() {
    static const std::vector<City> cities = {
        {kTamilNadu, "Chennai", "600", "044"},
        {kTamilNadu, "Coimbatore", "641", "0422"},
        {kTamilNadu, "Madurai", "625", "0452"},
        {kTamilNadu, "Tiruchirappalli", "620", "0431"},
        {kTamilNadu, "Salem", "636", "0427"},
        {kTamilNadu, "Tirunelveli", "627", "0462"},
        {kKarnataka, "Bengaluru", "560", "080"},
        {kKarnataka, "Mysuru", "570", "0821"},
        {kKerala, "Kochi", "682", "0484"},
        {kKerala, "Thrissur", "680", "0487"},
        {kPondicherry, "Puducherry", "605", "0413"},
        {kPondicherry, "Karaikal", "609", "04368"},
        {kAndhraPradesh, "Vijayawada", "520", "0866"},
        {kAndhraPradesh, "Tirupati", "517", "0877"},
        {kChattisgarh, "Raipur", "492", "0771"},
        {kMaharashtra, "Pune", "411", "020"},
        {kTelangana, "Hyderabad", "500", "040"},
    };
    return cities;
}

const City& CityOf(int stateId, DemoRandom& random) {
    std::vector<const City*> candidates;
    for (const City& city : Cities())
        if (city.stateId == stateId) candidates.push_back(&city);
    return *candidates[static_cast<size_t>(random.Below(candidates.size()))];
}

const std::vector<const char*>& Streets() {
    static const std::vector<const char*> streets = {
        "Gandhi Road",   "Nehru Street",      "Bazaar Street",   "Station Road",
        "Temple Street", "Anna Salai",        "Market Road",     "Church Street",
        "Main Road",     "Kamarajar Salai",   "Mill Road",       "Periyar Nagar",
        "College Road",  "Big Bazaar Street", "East Car Street", "Mosque Street",
    };
    return streets;
}

std::string Digits(DemoRandom& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('0' + random.Below(10));
    return text;
}

std::string Letters(DemoRandom& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('A' + random.Below(26));
    return text;
}

// A PAN: three letters, the holder's kind (P person, F firm, C company), the first letter of
// the name, four digits and a letter.
std::string Pan(DemoRandom& random, char kind, const std::string& name) {
    char initial = 'X';
    for (char c : name)
        if (std::isalpha(static_cast<unsigned char>(c))) {
            initial = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            break;
        }
    return Letters(random, 3) + kind + initial + Digits(random, 4) + Letters(random, 1);
}

std::string Slug(const std::string& name) {
    std::string slug;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!slug.empty() && slug.back() != '.')
            slug += '.';
    }
    while (!slug.empty() && slug.back() == '.') slug.pop_back();
    return slug.empty() ? "store" : slug;
}

void FillAddress(PartyInfo& party, DemoRandom& random) {
    const City& city = CityOf(party.stateId, random);
    party.add1 = std::to_string(random.Between(1, 250)) + ", " + random.Pick(Streets());
    party.add2 = city.name;
    party.add3 = State(party.stateId).name;
    party.pin = std::string(city.pinPrefix) + Digits(random, 3);
    party.phone = std::string(city.phonePrefix) + "-" + Digits(random, 7);
}

struct SpecialRetailer {
    const char* name;
    const char* contact;
    int stateId;
    bool registered;
    bool composition;
    bool gstinRow;
    bool stateRow;
    bool typeAndPanRows;
    int shipAddresses;
};

// Each shows one case: names the XML must escape, names in Tamil and Devanagari script and with
// the rupee sign, the three states whose names are corrected, a union territory, an unregistered
// retailer, and missing user columns.
const SpecialRetailer kSpecialRetailers[] = {
    {"Sri Murugan Stores & Co", "R. Murugan", kTamilNadu, true, false, true, true, true, 2},
    {"Kumar's Caf\u00e9 & Bakery", "S. Kumar", kTamilNadu, true, false, true, true, true, 1},
    {"Anand \"Super\" Mart", "Anand Rao", kKarnataka, true, false, true, true, true, 1},
    {"\u0bb8\u0bcd\u0bb0\u0bc0 \u0bb2\u0b95\u0bcd\u0bb7\u0bcd\u0bae\u0bbf "
     "\u0bb8\u0bcd\u0b9f\u0bcb\u0bb0\u0bcd\u0bb8\u0bcd",
     "\u0bb2\u0b95\u0bcd\u0bb7\u0bcd\u0bae\u0bbf", kTamilNadu, true, true, true, true, true, 1},
    {"Puducherry Beach Mart", "A. Pierre", kPondicherry, true, false, true, true, true, 1},
    {"Raipur Kirana Bhandar", "Ramesh Sahu", kChattisgarh, true, false, true, true, true, 1},
    {"\u0935\u093f\u091c\u092f \u091f\u094d\u0930\u0947\u0921\u0930\u094d\u0938",
     "\u0915\u0947. \u0935\u0947\u0902\u0915\u091f", kAndhraPradesh, true, false, true, true, true,
     1},
    {"Joseph D'Souza General Stores", "Joseph D'Souza", kKerala, true, false, true, true, true, 1},
    {"Nilgiri Provisions", "M. Raman", kTamilNadu, false, false, true, true, true, 1},
    {"Balaji Agencies", "P. Balaji", kTamilNadu, true, false, false, true, true, 1},
    {"Sai Ram Medicals", "Sai Ram", kTamilNadu, true, false, true, false, true, 1},
    {"Hyderabad \u20b999 Fresh Mart", "Syed Ali", kTelangana, true, false, true, true, false, 1},
    {"M\u00fcller's Gourmet Corner", "Anna M\u00fcller", kKarnataka, true, false, true, true, true,
     1},
};

}  // namespace

const std::vector<StateInfo>& States() {
    static const std::vector<StateInfo> states = {
        {kTamilNadu, "33", "Tamil Nadu"},
        {kKarnataka, "29", "Karnataka"},
        {kKerala, "32", "Kerala"},
        {kPondicherry, "34", "Pondicherry"},
        {kAndhraPradesh, "37", "Andhra Pradesh (New)"},
        {kChattisgarh, "22", "Chattisgarh"},
        {kMaharashtra, "27", "Maharashtra"},
        {kTelangana, "36", "Telangana"},
    };
    return states;
}

const StateInfo& State(int stateId) {
    for (const StateInfo& state : States())
        if (state.id == stateId) return state;
    throw std::out_of_range("unknown state");
}

const std::vector<UnitInfo>& Units() {
    static const std::vector<UnitInfo> units = {
        {kUnitPc, "PC", "PC"}, {2, "BOX", "BOX"}, {3, "CS", "CASE"},
        {4, "KG", "KG"},       {5, "LTR", "LTR"}, {6, "PKT", "PKT"},
    };
    return units;
}

const std::vector<ProductInfo>& Products() {
    // Rates of 29 % are taxed 14.5 % + 14.5 % within the state.
    static const std::vector<ProductInfo> products = {
        {1001, "GLS100", "D1001", "Glow Beauty Soap 100g", "3401", 1800, 4000, 3390, 1, false},
        {1002, "GLS4PK", "D1002", "Glow Beauty Soap 4x100g Pack", "3401", 1800, 15000, 12700, 1,
         false},
        {1003, "BRD1KG", "D1003", "Bright Detergent Powder 1kg", "3402", 1800, 11500, 9750, 1,
         false},
        {1004, "BRL500", "D1004", "Bright Liquid Detergent 500ml", "3402", 1800, 9900, 8400, 5,
         false},
        {1005, "DWB200", "D1005", "Dazzle Dishwash Bar 200g", "3402", 1800, 2000, 1700, 1, true},
        {1006, "SHP180", "D1006", "Silkara Shampoo 180ml", "3305", 1800, 17500, 14800, 1, false},
        {1007, "SHPSAC", "D1007", "Silkara Shampoo Sachet Strip (16)", "3305", 1800, 3200, 2700, 6,
         true},
        {1008, "TPW150", "D1008", "Whitedent Toothpaste 150g", "3306", 1800, 9500, 8050, 1, false},
        {1009, "TBR001", "D1009", "Whitedent Toothbrush Medium", "9603", 1800, 3000, 2540, 1, true},
        {1010, "BSC075", "D1010", "Cr\u00e8me Sandwich Biscuits 75g", "1905", 1800, 1000, 850, 1,
         true},
        {1011, "BSC150", "D1011", "Bourbon \"Choco\" Cream 150g", "1905", 1800, 3000, 2540, 1,
         false},
        {1012, "GLC100", "D1012", "Morning Glucose Biscuits 100g", "1905", 1800, 1000, 850, 1,
         true},
        {1013, "CHC040", "D1013", "Velvet Milk Chocolate 40g", "1806", 1800, 4000, 3390, 1, true},
        {1014, "NDL070", "D1014", "Quickmeal Noodles 70g", "1902", 1200, 1400, 1190, 1, true},
        {1015, "KTC500", "D1015", "Red Valley Tomato Ketchup 500g", "2103", 1200, 13500, 11450, 1,
         false},
        {1016, "JUC1LT", "D1016", "Orchard Mixed Fruit Juice 1L", "2009", 1200, 11000, 9320, 5,
         false},
        {1017, "GHE500", "D1017", "Gokul Pure Ghee 500ml", "0405", 1200, 32500, 27500, 1, false},
        {1018, "NMK200", "D1018", "Annapurna's Aloo Bhujia 200g", "2106", 1200, 5500, 4660, 6,
         false},
        {1019, "CHP050", "D1019", "Salt & Pepper Potato Chips 50g", "2005", 1200, 2000, 1700, 6,
         true},
        {1020, "MTC010", "D1020", "Safety Matches (10 boxes)", "3605", 1200, 1000, 850, 2, true},
        {1021, "TEA250", "D1021", "Nilgiri Gold Tea 250g", "0902", 500, 14000, 11860, 1, false},
        {1022, "SUG1KG", "D1022", "Crystal Sugar 1kg", "1701", 500, 4800, 4070, 4, false},
        {1023, "RCE5KG", "D1023", "Ponni Raw Rice 5kg", "1006", 500, 32500, 27540, 4, false},
        {1024, "OIL1LT", "D1024", "Coromandel Groundnut Oil 1L", "1508", 500, 19500, 16520, 5,
         false},
        {1025, "CFE050", "D1025", "Kaapi Filter Coffee 50g", "0901", 500, 6000, 5080, 1, true},
        {1026, "AGR100", "D1026", "Mogra Agarbathi 100 sticks", "3307", 500, 5000, 4240, 1, false},
        {1027, "MLK500", "D1027", "Dairy Fresh Toned Milk 500ml", "0401", 0, 2700, 2450, 5, false},
        {1028, "ATA5KG", "D1028", "Whole Wheat Atta 5kg (loose)", "1101", 0, 24000, 21600, 4,
         false},
        {1029, "SLT1KG", "D1029", "Iodised Salt 1kg", "2501", 0, 2800, 2380, 4, false},
        {1030, "CRD200", "D1030", "Fresh Curd 200g", "0403", 0, 2000, 1800, 1, false},
        {1031, "COL2LT", "D1031", "Fizzup Cola 2L", "2202", 2800, 9500, 7900, 5, false},
        {1032, "DEO150", "D1032", "Wildmusk Deodorant 150ml", "3307", 2800, 22000, 18200, 1, false},
        {1033, "ENG250", "D1033", "Thunderbolt Energy Drink 250ml", "2202", 2900, 12500, 10300, 1,
         false},
        {1034, "HDY060", "D1034", "Ebony Hair Dye 60ml", "3305", 1800, 6500, 5500, 1, false},
        {1035, "DSP001", "D1035", "Counter Display Rack", nullptr, 1800, 60000, 50000, 1, false},
    };
    return products;
}

const std::vector<DepotInfo>& Depots() {
    static const std::vector<DepotInfo> depots = {
        {1, "DEP001", "KVZ Main Depot", "14, Industrial Estate", "Guindy", "Chennai",
         "044-22345678", "main.depot@example.com", "S. Prakash", TaxRegime::kNone},
        {2, "DEP002", "KVZ Coimbatore Depot", "7, Avinashi Road", "Peelamedu", "Coimbatore",
         "0422-2567890", "cbe.depot@example.com", "N. Senthil", TaxRegime::kNone},
        {3, "DEP003", "Meenakshi Distributors & Co (Madurai)", "22, West Masi Street", "Madurai",
         "Tamil Nadu", "0452-2345123", "meenakshi.dist@example.com", "V. Meenakshi",
         TaxRegime::kIntraState},
        {4, "DEP004", "KVZ Bengaluru Depot", "3rd Cross, Peenya Phase 2", "Bengaluru", "Karnataka",
         "080-28391234", "blr.depot@example.com", "H. Gowda", TaxRegime::kInterState},
        {5, "DEP005", "KVZ Puducherry D\u00e9p\u00f4t", "5, Rue Romain Rolland", "Puducherry",
         "Pondicherry", "0413-2334455", "pdy.depot@example.com", "J. Laurent",
         TaxRegime::kInterState},
    };
    return depots;
}

const std::vector<NamedRow>& Banks() {
    static const std::vector<NamedRow> banks = {
        {1, "SBI", "State Bank of India"}, {2, "HDFC", "HDFC Bank"},
        {3, "ICICI", "ICICI Bank"},        {4, "IOB", "Indian Overseas Bank"},
        {5, "CNRB", "Canara Bank"},        {6, "KVB", "Karur Vysya Bank"},
        {7, "CUB", "City Union Bank"},
    };
    return banks;
}

const std::vector<BranchInfo>& Branches() {
    static const std::vector<BranchInfo> branches = {
        {1, 1, "SBI001", "T. Nagar"},         {2, 1, "SBI002", "Coimbatore Main"},
        {3, 2, "HDFC001", "Anna Nagar"},      {4, 2, "HDFC002", "Madurai"},
        {5, 3, "ICICI001", "Mylapore"},       {6, 4, "IOB001", "Salem Town"},
        {7, 5, "CNRB001", "Tiruchirappalli"}, {8, 6, "KVB001", "Karur"},
        {9, 7, "CUB001", "Kumbakonam"},       {10, 3, "ICICI002", "Bengaluru M.G. Road"},
    };
    return branches;
}

const std::vector<NamedRow>& Reasons() {
    static const std::vector<NamedRow> reasons = {
        {1, "DISP", "Display Incentive"},
        {2, "RATE", "Rate Difference"},
        {3, "DMG", "Damaged Goods & Expiry"},
        {4, "SCH", "Retailer's Scheme Claim"},
        {5, "FEST", "Promotional \"Festival\" Offer"},
        {6, "TRN", "Transport Reimbursement"},
    };
    return reasons;
}

const std::vector<NamedRow>& Services() {
    static const std::vector<NamedRow> services = {
        {1, "VIS", "Visibility Claim"},
        {2, "WDR", "Window Display Rent"},
        {3, "SSR", "Shelf Space Rental"},
        {4, "MER", "Merchandising Service"},
    };
    return services;
}

TaxRegime RetailerRegime(int stateId) {
    if (stateId == kTamilNadu) return TaxRegime::kIntraState;
    if (stateId == kPondicherry) return TaxRegime::kUnionTerritory;
    return TaxRegime::kInterState;
}

TaxRegime SupplierRegime(int stateId) {
    return stateId == kTamilNadu ? TaxRegime::kIntraState : TaxRegime::kInterState;
}

std::string Gstin(const std::string& stateCode, const std::string& pan) {
    std::string body = stateCode + pan + "1Z";
    const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    int sum = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        int value = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'A' + 10;
        int product = value * (i % 2 == 0 ? 1 : 2);
        sum += product / 36 + product % 36;
    }
    return body + digits[(36 - sum % 36) % 36];
}

std::vector<PartyInfo> MakeRetailers(DemoRandom& random, long count) {
    static const std::vector<const char*> prefixes = {"Sri", "Sree", "New",   "Royal",  "Shree",
                                                      "Om",  "Jai",  "Annai", "Golden", "Star"};
    static const std::vector<const char*> cores = {
        "Ganesh",   "Balaji",  "Lakshmi",   "Vinayaka", "Murugan",     "Amman",        "Kaveri",
        "Saravana", "Krishna", "Meenakshi", "Selvam",   "Mahalakshmi", "Venkateswara", "Kannan",
        "Velan",    "Arasan",  "Thirumala", "Durga",    "Sakthi",      "Anbu"};
    static const std::vector<const char*> suffixes = {
        "Stores", "Traders", "Provisions",     "Super Market", "Agencies", "Departmental Stores",
        "Mart",   "Kirana",  "General Stores", "Enterprises"};
    static const std::vector<int> stateWeights = {
        kTamilNadu,   kTamilNadu,     kTamilNadu,   kTamilNadu, kTamilNadu, kTamilNadu,
        kTamilNadu,   kTamilNadu,     kTamilNadu,   kTamilNadu, kTamilNadu, kTamilNadu,
        kTamilNadu,   kTamilNadu,     kKarnataka,   kKarnataka, kKerala,    kPondicherry,
        kPondicherry, kAndhraPradesh, kChattisgarh, kTelangana,
    };

    std::vector<PartyInfo> retailers;
    int nextShipId = 5001;
    auto finish = [&](PartyInfo& r, char panKind, int shipAddresses, bool registered) {
        FillAddress(r, random);
        r.code = "RTR" + std::to_string(100000 + r.id).substr(1);
        // A name in another script gets a plain mailbox.
        const bool ascii = (static_cast<unsigned char>(r.name.front()) & 0x80) == 0;
        r.email = (ascii ? Slug(r.name) : "retailer" + std::to_string(r.id)) + "@example.com";
        r.pan = Pan(random, panKind, r.name);
        if (registered) r.gstin = Gstin(State(r.stateId).code, r.pan);
        for (int i = 0; i < shipAddresses; ++i) r.shipIds.push_back(nextShipId++);
    };

    int id = 1;
    for (const SpecialRetailer& special : kSpecialRetailers) {
        PartyInfo r;
        r.id = id++;
        r.name = special.name;
        r.contact = special.contact;
        r.stateId = special.stateId;
        r.composition = special.composition;
        r.hasGstinRow = special.gstinRow;
        r.hasStateRow = special.stateRow;
        r.hasTypeRow = r.hasPanRow = special.typeAndPanRows;
        finish(r, 'F', special.shipAddresses, special.registered);
        retailers.push_back(std::move(r));
    }
    while (static_cast<long>(retailers.size()) < count) {
        PartyInfo r;
        r.id = id++;
        r.name = std::string(random.Pick(prefixes)) + " " + random.Pick(cores) + " " +
                 random.Pick(suffixes);
        r.contact = std::string(random.Pick(cores)) + " " + Letters(random, 1) + ".";
        r.stateId = random.Pick(stateWeights);
        r.composition = random.Percent(8);
        bool registered = !random.Percent(10);
        finish(r, random.Percent(60) ? 'P' : 'F', random.Percent(10) ? 2 : 1, registered);
        retailers.push_back(std::move(r));
    }
    return retailers;
}

std::vector<PartyInfo> MakeSuppliers(DemoRandom& random) {
    struct SpecialSupplier {
        const char* name;
        const char* contact;
        int stateId;
        bool gstinRow;
    };
    static const SpecialSupplier suppliers[] = {
        {"Ganga Home Care Pvt. Ltd", "R. Subramanian", kTamilNadu, true},
        {"Kaveri Foods & Beverages Ltd", "M. Shetty", kKarnataka, true},
        {"Soci\u00e9t\u00e9 Cr\u00e8me Products (India) Ltd", "Claire Dubois", kMaharashtra, true},
        {"O'Brien Hygiene India Pvt Ltd", "Sean O'Brien", kTamilNadu, true},
        {"Deccan \"Fresh\" Dairy", "P. Reddy", kAndhraPradesh, true},
        {"Chhattisgarh Agro Mills", "A. Verma", kChattisgarh, true},
        {"Coromandel Oils Ltd", "T. Arul", kPondicherry, true},
        {"Balaji Trading Co", "B. Naidu", kTamilNadu, false},
    };
    std::vector<PartyInfo> result;
    int id = 1;
    for (const SpecialSupplier& s : suppliers) {
        PartyInfo p;
        p.id = id++;
        p.code = "SUP" + std::to_string(1000 + p.id).substr(1);
        p.name = s.name;
        p.contact = s.contact;
        p.stateId = s.stateId;
        p.hasGstinRow = s.gstinRow;
        FillAddress(p, random);
        p.fax = p.phone.substr(0, p.phone.find('-') + 1) + Digits(random, 8);
        p.email = Slug(p.name) + "@example.com";
        p.pan = Pan(random, 'C', p.name);
        p.gstin = Gstin(State(p.stateId).code, p.pan);
        result.push_back(std::move(p));
    }
    return result;
}

}  // namespace zentrail::dms_demo
