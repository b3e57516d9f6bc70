#pragma once

#include <string>
#include <vector>

#include "demo_calendar.h"
#include "demo_money.h"
#include "demo_random.h"

namespace zentrail::dms_demo {

// The distributor sits in Tamil Nadu. Its retailers in Pondicherry are billed with UTGST (as
// from its Puducherry branch), those of other states with IGST.
enum StateId {
    kTamilNadu = 1,
    kKarnataka,
    kKerala,
    kPondicherry,
    kAndhraPradesh,
    kChattisgarh,
    kMaharashtra,
    kTelangana,
};

struct StateInfo {
    int id;
    const char* code;  // GST state code
    const char* name;  // as the distributor-management system spells it
};

struct ProductInfo {
    int id;
    const char* code;
    const char* distributorCode;
    const char* name;
    const char* hsn;  // nullptr: the product has no 'HSN Code' value
    Rate gstRate;
    Paise mrp;
    Paise rate;  // selling rate to retailers
    int unitId;
    bool freeGift;  // given free under schemes
};

struct UnitInfo {
    int id;
    const char* code;
    const char* description;
};

// A retailer or supplier address with the user-defined columns kept for it.
struct PartyInfo {
    int id = 0;
    std::string code, name, add1, add2, add3, pin, phone, fax, email, contact;
    int stateId = kTamilNadu;
    std::string gstin;  // empty for an unregistered party
    std::string pan;
    bool hasGstinRow = true;
    bool hasStateRow = true;
    bool hasCompositionRow = true;
    bool hasTypeRow = true;
    bool hasPanRow = true;
    bool composition = false;
    std::vector<int> shipIds;  // retailers: their shipping addresses (all in their state)
};

struct DepotInfo {
    int id;
    const char* code;
    const char* name;
    const char* add1;
    const char* add2;
    const char* add3;
    const char* phone;
    const char* email;
    const char* contact;
    TaxRegime regime;  // how transfers with it are taxed
};

struct NamedRow {
    int id;
    const char* code;
    const char* name;
};

struct BranchInfo {
    int id;
    int bankId;
    const char* code;
    const char* name;
};

const std::vector<StateInfo>& States();
const StateInfo& State(int stateId);
const std::vector<UnitInfo>& Units();
inline constexpr int kUnitPc = 1;
const std::vector<ProductInfo>& Products();
const std::vector<DepotInfo>& Depots();  // the first is the distributor's own depot
const std::vector<NamedRow>& Banks();
const std::vector<BranchInfo>& Branches();
inline constexpr int kDistributorBanks = 2;  // banks 1 and 2 hold the distributor's accounts
const std::vector<NamedRow>& Reasons();
const std::vector<NamedRow>& Services();

// Retailer and supplier taxation by state.
TaxRegime RetailerRegime(int stateId);
TaxRegime SupplierRegime(int stateId);

// A GSTIN with its check character: state code, PAN, entity number, 'Z', check.
std::string Gstin(const std::string& stateCode, const std::string& pan);

// The retailers: a fixed set that shows every case the screens meet, then `count` in all.
std::vector<PartyInfo> MakeRetailers(DemoRandom& random, long count);
std::vector<PartyInfo> MakeSuppliers(DemoRandom& random);

}  // namespace zentrail::dms_demo
