#include <algorithm>
#include <string>

#include "demo_builder.h"

namespace zentrail::dms_demo {
namespace {

// Ids of the user-defined columns. The screens' grid-column queries name 81 and 77 (retailer
// GSTIN and state) and 72 and 73 (supplier GSTIN and state) directly.
enum UdcMasterId {
    kSupplierGstin = 72,
    kSupplierState = 73,
    kRetailerState = 77,
    kRetailerComposition = 78,
    kRetailerType = 79,
    kRetailerPan = 80,
    kRetailerGstin = 81,
    kProductHsn = 90,
};
enum UdcHdId { kProductMaster = 1, kRetailerMaster = 2, kSupplierMaster = 3 };

}  // namespace

void DemoBuilder::WriteMasters() {
    DemoRandom random = Stream(1);

    TableInserter states(db_, "STATEMASTER", {"StateId", "StateCode", "StateName"});
    for (const StateInfo& s : States()) states.Row(s.id, s.code, s.name);

    TableInserter units(db_, "UOMMASTER", {"UomId", "UomCode", "UomDescription"});
    for (const UnitInfo& u : Units()) units.Row(u.id, u.code, u.description);

    TableInserter taxes(db_, "TaxConfiguration", {"TaxId", "TaxCode", "TaxName"});
    taxes.Row(int{kCgst}, "CGST", "Central GST");
    taxes.Row(int{kSgst}, "SGST", "State GST");
    taxes.Row(int{kIgst}, "IGST", "Integrated GST");
    taxes.Row(int{kUtgst}, "UTGST", "Union Territory GST");

    TableInserter products(
        db_, "Product",
        {"PrdId", "PrdCCode", "PrdDCode", "PrdName", "PrdUnitId", "PrdMRP", "PrdGSTRate"});
    for (const ProductInfo& p : Products())
        products.Row(p.id, p.code, p.distributorCode, p.name, p.unitId, Money{p.mrp},
                     Percent{p.gstRate});
    summary_.products = static_cast<long>(Products().size());

    TableInserter udcHd(db_, "UdcHD", {"MasterId", "MasterName"});
    udcHd.Row(int{kProductMaster}, "Product Master");
    udcHd.Row(int{kRetailerMaster}, "Retailer Master");
    udcHd.Row(int{kSupplierMaster}, "Supplier Master");

    TableInserter udcMaster(db_, "UdcMaster", {"UdcMasterId", "MasterId", "ColumnName"});
    udcMaster.Row(int{kSupplierGstin}, int{kSupplierMaster}, "GSTIN");
    udcMaster.Row(int{kSupplierState}, int{kSupplierMaster}, "State Name");
    udcMaster.Row(int{kRetailerState}, int{kRetailerMaster}, "State Name");
    udcMaster.Row(int{kRetailerComposition}, int{kRetailerMaster}, "Composition");
    udcMaster.Row(int{kRetailerType}, int{kRetailerMaster}, "Retailer Type");
    udcMaster.Row(int{kRetailerPan}, int{kRetailerMaster}, "PAN Number");
    udcMaster.Row(int{kRetailerGstin}, int{kRetailerMaster}, "GSTIN");
    udcMaster.Row(int{kProductHsn}, int{kProductMaster}, "HSN Code");

    TableInserter udc(db_, "UdcDetails",
                      {"UdcDetailId", "MasterId", "UdcMasterId", "MasterRecordId", "ColumnValue"});
    long udcId = 0;
    auto udcRow = [&](UdcHdId master, UdcMasterId column, int record, const std::string& value) {
        udc.Row(++udcId, int{master}, int{column}, record, value);
    };
    for (const ProductInfo& p : Products())
        if (p.hsn) udcRow(kProductMaster, kProductHsn, p.id, p.hsn);

    // Retailers: a fixed few that show the special cases, the rest made up; about one per
    // fifty invoices.
    retailers_ = MakeRetailers(random, std::clamp(options_.invoices / 50, 60L, 2000L));
    summary_.retailers = static_cast<long>(retailers_.size());
    TableInserter retailer(
        db_, "Retailer",
        {"RtrId", "RtrCode", "RtrName", "RtrAdd1", "RtrAdd2", "RtrAdd3", "RtrPinNo", "RtrPhoneNo",
         "RtrEmailId", "RtrContactPerson", "RtrRegDate", "RtrTINNo", "RtrCrLimit", "RtrCrDays",
         "RtrDrugLicNo", "RtrDrugExpiryDate"});
    TableInserter shipping(db_, "RetailerShipAdd",
                           {"RtrShipId", "RtrId", "RtrShipAdd1", "RtrShipAdd2", "RtrShipAdd3",
                            "RtrShipPinNo", "GSTTinNo", "StateId"});
    static const int kCreditDays[] = {7, 15, 21, 30};
    for (const PartyInfo& r : retailers_) {
        const bool pharmacy = r.name.find("Medical") != std::string::npos;
        const DemoDateTime registered =
            At(std::chrono::year{static_cast<int>(random.Between(2017, 2023))} /
               static_cast<unsigned>(random.Between(1, 12)) /
               static_cast<unsigned>(random.Between(1, 28)));
        retailer.Row(r.id, r.code, r.name, r.add1, r.add2, r.add3, r.pin, r.phone, r.email,
                     r.contact, registered,
                     std::string(State(r.stateId).code) +
                         std::to_string(random.Between(100000000, 999999999)),
                     Money{random.Between(25, 200) * 100000}, kCreditDays[random.Below(4)],
                     pharmacy ? std::optional<std::string>("TN/20B/" + std::to_string(10000 + r.id))
                              : std::nullopt,
                     pharmacy ? std::optional<DemoDateTime>(
                                    At(std::chrono::year{2026} / std::chrono::March / 31))
                              : std::nullopt);
        for (size_t i = 0; i < r.shipIds.size(); ++i) {
            const std::string add1 = i == 0 ? r.add1
                                            : "Godown, " + std::to_string(random.Between(1, 99)) +
                                                  ", " + (r.add1.substr(r.add1.find(", ") + 2));
            shipping.Row(r.shipIds[i], r.id, add1, r.add2, r.add3, r.pin, r.gstin, r.stateId);
        }
        if (r.hasGstinRow) udcRow(kRetailerMaster, kRetailerGstin, r.id, r.gstin);
        if (r.hasStateRow) udcRow(kRetailerMaster, kRetailerState, r.id, State(r.stateId).name);
        if (r.hasCompositionRow)
            udcRow(kRetailerMaster, kRetailerComposition, r.id, r.composition ? "Y" : "N");
        if (r.hasTypeRow)
            udcRow(kRetailerMaster, kRetailerType, r.id,
                   r.gstin.empty() ? "Unregistered" : "Regular");
        if (r.hasPanRow) udcRow(kRetailerMaster, kRetailerPan, r.id, r.pan);
    }

    suppliers_ = MakeSuppliers(random);
    TableInserter supplier(db_, "Supplier",
                           {"SpmId", "SpmCode", "SpmName", "SpmAdd1", "SpmAdd2", "SpmAdd3",
                            "SpmPhone", "SpmFax", "SpmEmail", "SpmContact"});
    for (const PartyInfo& s : suppliers_) {
        supplier.Row(s.id, s.code, s.name, s.add1, s.add2, s.add3, s.phone, s.fax, s.email,
                     s.contact);
        if (s.hasGstinRow) udcRow(kSupplierMaster, kSupplierGstin, s.id, s.gstin);
        if (s.hasStateRow) udcRow(kSupplierMaster, kSupplierState, s.id, State(s.stateId).name);
    }

    TableInserter depot(db_, "IDTMaster",
                        {"SpmId", "SpmCode", "SpmName", "SpmAdd1", "SpmAdd2", "SpmAdd3", "SpmPhone",
                         "SpmFax", "SpmEmail", "SpmContact"});
    for (const DepotInfo& d : Depots())
        depot.Row(d.id, d.code, d.name, d.add1, d.add2, d.add3, d.phone, "", d.email, d.contact);

    TableInserter bank(db_, "Bank", {"BnkId", "BnkCode", "BnkName"});
    for (const NamedRow& b : Banks()) bank.Row(b.id, b.code, b.name);
    TableInserter branch(db_, "BankBranch", {"BnkBrId", "BnkId", "BnkBrCode", "BnkBrName"});
    for (const BranchInfo& b : Branches()) branch.Row(b.id, b.bankId, b.code, b.name);

    TableInserter reason(db_, "ReasonMaster", {"ReasonId", "ReasonCode", "Description"});
    for (const NamedRow& r : Reasons()) reason.Row(r.id, r.code, r.name);

    TableInserter service(db_, "SERVICEMASTER", {"ServiceId", "SerCode", "SerName", "SacCode"});
    for (const NamedRow& s : Services()) service.Row(s.id, s.code, s.name, "998599");

    // One tax group of 18 %: its components in the order CGST, SGST, IGST, UTGST.
    TableInserter taxGroup(db_, "ServiceTaxGroupSetting",
                           {"TaxId", "ServiceTaxSeqId", "ServiceTaxCode", "TaxPerc"});
    taxGroup.Row(1, 1, "CGST", Percent{900});
    taxGroup.Row(1, 2, "SGST", Percent{900});
    taxGroup.Row(1, 3, "IGST", Percent{1800});
    taxGroup.Row(1, 4, "UTGST", Percent{900});
}

}  // namespace zentrail::dms_demo
