#pragma once

// Import requests shaped as the builders write them (one element per line, CR LF), for the
// simulator's tests.

#include <initializer_list>
#include <string>
#include <vector>

namespace zentrail::testing::sim_requests {

inline std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

inline std::string Envelope(const std::string& payload, const std::string& company = "") {
    return Lines({"<ENVELOPE>", "<HEADER>", "<TALLYREQUEST>Import Data</TALLYREQUEST>", "</HEADER>",
                  "<BODY>", "<IMPORTDATA>", "<REQUESTDESC>", "<REPORTNAME>Vouchers</REPORTNAME>",
                  "<STATICVARIABLES>", "<SVCURRENTCOMPANY>" + company + "</SVCURRENTCOMPANY>",
                  "</STATICVARIABLES>", "</REQUESTDESC>", "<REQUESTDATA>"}) +
           payload + Lines({"</REQUESTDATA>", "</IMPORTDATA>", "</BODY>", "</ENVELOPE>"});
}

inline std::string Message(const std::string& inner) {
    return "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">\r\n" + inner + "</TALLYMESSAGE>\r\n";
}

inline std::string NameList(const std::string& name, const std::vector<std::string>& aliases) {
    std::string out = "<NAME.LIST>\r\n<NAME>" + name + "</NAME>\r\n";
    for (const std::string& alias : aliases) out += "<NAME>" + alias + "</NAME>\r\n";
    return out + "</NAME.LIST>\r\n";
}

// A party ledger as the ledger builder writes it, with a registered GSTIN.
inline std::string PartyLedger(const std::string& name, const std::string& parent,
                               const std::string& gstin = "33AAACB1234C1Z5",
                               const std::string& state = "Tamil Nadu",
                               const std::vector<std::string>& aliases = {}) {
    return Message(
        "<LEDGER NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" + NameList(name, aliases) +
        Lines({"<ADDRESS.LIST>", "\t<ADDRESS>12 Main Road</ADDRESS>", "</ADDRESS.LIST>",
               "\t<COUNTRYNAME>India</COUNTRYNAME>", "\t<TAXTYPE>Others</TAXTYPE>",
               "\t<COUNTRYOFRESIDENCE>India</COUNTRYOFRESIDENCE>",
               "\t<PARTYGSTIN>" + gstin + "</PARTYGSTIN>", "\t<GSTNATUREOFSUPPLY/>",
               "\t<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
               "\t<LEDSTATENAME>" + state + "</LEDSTATENAME>",
               "\t<GSTREGISTRATIONTYPE>Regular</GSTREGISTRATIONTYPE>",
               "\t<VATDEALERTYPE>Regular</VATDEALERTYPE>", "<ISINTERESTON>No</ISINTERESTON>",
               "<PARENT>" + parent + "</PARENT>", "<CURRENCYNAME>INR</CURRENCYNAME>",
               "<ISBILLWISEON>Yes</ISBILLWISEON>", "</LEDGER>"}));
}

// A tax ledger under "Duties & Taxes" with its duty head.
inline std::string TaxLedger(const std::string& name, const std::string& dutyHead) {
    return Message(
        "<LEDGER NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" + NameList(name, {}) +
        Lines({"\t<COUNTRYNAME>India</COUNTRYNAME>", "\t<TAXTYPE>Others</TAXTYPE>",
               "\t<PARTYGSTIN>Unregistered</PARTYGSTIN>", "\t<LEDSTATENAME></LEDSTATENAME>",
               "\t<GSTREGISTRATIONTYPE>Unregistered</GSTREGISTRATIONTYPE>",
               "<PARENT>Duties &amp; Taxes</PARENT>", "<ISBILLWISEON>No</ISBILLWISEON>",
               "<USEFORVAT>No</USEFORVAT>", "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
               "<GSTDUTYHEAD>" + dutyHead + "</GSTDUTYHEAD>",
               "<ROUNDINGMETHOD>Normal Rounding</ROUNDINGMETHOD>", "<TAXTYPE>GST</TAXTYPE>",
               "</LEDGER>"}));
}

// A sales or purchase ledger with its own GST rates (Central, State, Integrated, Cess).
inline std::string SalesLedger(const std::string& name, const std::string& parent,
                               const std::string& hsn, const std::string& central,
                               const std::string& state, const std::string& integrated) {
    auto rate = [](const std::string& head, const std::string& value) {
        return Lines({"<RATEDETAILS.LIST>", "<GSTRATEDUTYHEAD>" + head + "</GSTRATEDUTYHEAD>",
                      "<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>"}) +
               (value.empty() ? "" : "<GSTRATE> " + value + "</GSTRATE>\r\n") +
               "</RATEDETAILS.LIST>\r\n";
    };
    return Message(
        "<LEDGER NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" + NameList(name, {}) +
        Lines({"<ISINTERESTON>No</ISINTERESTON>", "<PARENT>" + parent + "</PARENT>",
               "<AFFECTSSTOCK>Yes</AFFECTSSTOCK>", "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
               "<GSTTYPEOFSUPPLY>Goods</GSTTYPEOFSUPPLY>", "<GSTDETAILS.LIST>",
               "<APPLICABLEFROM></APPLICABLEFROM>", "<HSNCODE>" + hsn + "</HSNCODE>",
               "<TAXABILITY>&#4; Unknown</TAXABILITY>", "<STATEWISEDETAILS.LIST>",
               "<STATENAME>&#4; Any</STATENAME>"}) +
        rate("Central Tax", central) + rate("State Tax", state) +
        rate("Integrated Tax", integrated) + rate("Cess", "") +
        Lines({"<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>", "</STATEWISEDETAILS.LIST>",
               "</GSTDETAILS.LIST>", "</LEDGER>"}));
}

// A plain ledger: name, parent and nothing else.
inline std::string Ledger(const std::string& name, const std::string& parent,
                          const std::vector<std::string>& aliases = {}) {
    return Message("<LEDGER NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" +
                   NameList(name, aliases) + "<PARENT>" + parent + "</PARENT>\r\n</LEDGER>\r\n");
}

inline std::string Unit(const std::string& name) {
    return Message(
        Lines({"<UNIT NAME=\"" + name + "\" RESERVEDNAME=\"\">", "<NAME>" + name + "</NAME>",
               "<ORIGINALSYMBOL></ORIGINALSYMBOL>", "<ISSIMPLEUNIT>Yes</ISSIMPLEUNIT>",
               "<DECIMALPLACES>0</DECIMALPLACES>", "</UNIT>"}));
}

inline std::string StockGroup(const std::string& name, const std::string& parent = "") {
    return Message("<STOCKGROUP NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" + NameList(name, {}) +
                   (parent.empty() ? "" : "<PARENT>" + parent + "</PARENT>\r\n") +
                   Lines({"<BASEUNITS/>", "<ADDITIONALUNITS/>", "<ISADDABLE>Yes</ISADDABLE>",
                          "</STOCKGROUP>"}));
}

// One dated GST block of a stock item.
inline std::string ItemGstRate(const std::string& central, const std::string& state,
                               const std::string& integrated, const std::string& hsn,
                               const std::string& from) {
    std::string out =
        Lines({"<GSTDETAILS.LIST>", "<APPLICABLEFROM>" + from + "</APPLICABLEFROM>",
               "<CALCULATIONTYPE>On Value</CALCULATIONTYPE>", "<HSNCODE>" + hsn + "</HSNCODE>",
               "<HSNMASTERNAME/>", "<TAXABILITY>Taxable</TAXABILITY>", "<STATEWISEDETAILS.LIST>",
               "<STATENAME>&#4; Any</STATENAME>"});
    for (auto [head, value] : {std::pair<std::string, std::string>{"Central Tax", central},
                               {"State Tax", state},
                               {"Integrated Tax", integrated},
                               {"Cess", "0"}})
        out += Lines({"<RATEDETAILS.LIST>", "<GSTRATEDUTYHEAD>" + head + "</GSTRATEDUTYHEAD>",
                      "<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>",
                      "<GSTRATE> " + value + "</GSTRATE>", "</RATEDETAILS.LIST>"});
    return out +
           Lines({"<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>", "</STATEWISEDETAILS.LIST>",
                  "<TEMPGSTDETAILSLABRATES.LIST>       </TEMPGSTDETAILSLABRATES.LIST>",
                  "</GSTDETAILS.LIST>"});
}

inline std::string StockItem(const std::string& name, const std::string& code,
                             const std::string& unit, const std::string& parent,
                             const std::string& gstSetup = "") {
    return Message(
        "<STOCKITEM NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" +
        NameList(name, code.empty() ? std::vector<std::string>{} : std::vector<std::string>{code}) +
        "<GUID>44756338-2c49-4454-aa10-adf0c49a94dc-" + code + "</GUID>\r\n" +
        (parent.empty() ? "<PARENT/>\r\n" : "<PARENT>" + parent + "</PARENT>\r\n") +
        Lines({"<BASEUNITS>" + unit + "</BASEUNITS>", "<ADDITIONALUNITS/>",
               "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
               "<GSTTYPEOFSUPPLY>Goods</GSTTYPEOFSUPPLY>"}) +
        gstSetup + "</STOCKITEM>\r\n");
}

inline std::string VoucherType(const std::string& name, const std::string& parent) {
    return Message("<VOUCHERTYPE NAME=\"" + name + "\" RESERVEDNAME=\"\">\r\n" +
                   NameList(name, {}) +
                   Lines({"<ADDITIONALNAME>IF</ADDITIONALNAME>", "<PARENT>" + parent + "</PARENT>",
                          "<NUMBERINGMETHOD>Manual</NUMBERINGMETHOD>", "</VOUCHERTYPE>"}));
}

// The opening of a voucher as the sales builder writes it; VOUCHER and TALLYMESSAGE stay open.
inline std::string VoucherHead(const std::string& remoteId, const std::string& type,
                               const std::string& date, const std::string& number,
                               const std::string& party, bool cancel = false) {
    return Lines({"<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
                  "<VOUCHER REMOTEID=\"" + remoteId + "\" VCHTYPE=\"" + type + "\" ACTION=\"" +
                      (cancel ? "Cancel" : "Create") + "\">",
                  "<DATE>" + date + "</DATE>", "<GUID>" + remoteId + "</GUID>",
                  "<NARRATION></NARRATION>", "<VOUCHERTYPENAME>" + type + "</VOUCHERTYPENAME>",
                  "<ISCANCELLED>" + std::string(cancel ? "Yes" : "No") + "</ISCANCELLED>",
                  "<ISINVOICE>Yes</ISINVOICE>", "<VOUCHERNUMBER>" + number + "</VOUCHERNUMBER>",
                  "<REFERENCE>" + number + "</REFERENCE>", "<PARTYNAME>" + party + "</PARTYNAME>",
                  "<PARTYLEDGERNAME>" + party + "</PARTYLEDGERNAME>",
                  "<BASICBUYERADDRESS.LIST TYPE=\"String\">",
                  "<BASICBUYERADDRESS></BASICBUYERADDRESS>", "</BASICBUYERADDRESS.LIST>",
                  "<ALTERID></ALTERID>"});
}

inline std::string VoucherEnd() { return "</VOUCHER>\r\n</TALLYMESSAGE>\r\n"; }

// A ledger entry with the AMOUNT text as given ("-118" for a debit of 118).
inline std::string LedgerEntry(const std::string& ledger, const std::string& amount,
                               const std::string& list = "LEDGERENTRIES.LIST") {
    bool debit = !amount.empty() && amount[0] == '-';
    return Lines({"<" + list + ">", "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
                  "<ISDEEMEDPOSITIVE>" + std::string(debit ? "Yes" : "No") + "</ISDEEMEDPOSITIVE>",
                  "<LEDGERFROMITEM>No</LEDGERFROMITEM>", "<LEDGERNAME>" + ledger + "</LEDGERNAME>",
                  "<ISPARTYLEDGER>No</ISPARTYLEDGER>", "<AMOUNT>" + amount + "</AMOUNT>",
                  "<VATEXPAMOUNT>" + amount + "</VATEXPAMOUNT>", "</" + list + ">"});
}

// The party entry of a sales invoice, with a new bill that repeats the amount.
inline std::string SalesPartyEntry(const std::string& party, const std::string& number,
                                   const std::string& amount) {
    return Lines({"<LEDGERENTRIES.LIST>", "<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>",
                  "<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>", "<LEDGERFROMITEM>No</LEDGERFROMITEM>",
                  "<LEDGERNAME>" + party + "</LEDGERNAME>", "<ISPARTYLEDGER>Yes</ISPARTYLEDGER>",
                  "<AMOUNT>-" + amount + "</AMOUNT>", "<BILLALLOCATIONS.LIST>",
                  "<NAME>" + number + "</NAME>", "<BILLTYPE>New Ref</BILLTYPE>",
                  "<BILLCREDITPERIOD/>", "<AMOUNT>-" + amount + "</AMOUNT>",
                  "<VATEXPAMOUNT>-" + amount + "</VATEXPAMOUNT>", "</BILLALLOCATIONS.LIST>",
                  "</LEDGERENTRIES.LIST>"});
}

// A stock line of a sales invoice with its batch and accounting allocation.
inline std::string SalesStockLine(const std::string& item, const std::string& amount,
                                  const std::string& qty, const std::string& rate,
                                  const std::string& salesLedger,
                                  const std::string& godown = "Main Location") {
    return Lines({"<ALLINVENTORYENTRIES.LIST>",
                  "<STOCKITEMNAME>" + item + "</STOCKITEMNAME>",
                  "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
                  "<ISAUTONEGATE>No</ISAUTONEGATE>",
                  "<RATE>" + rate + "/PC</RATE>",
                  "<AMOUNT>" + amount + "</AMOUNT>",
                  "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
                  "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
                  "<BATCHALLOCATIONS.LIST>",
                  "<GODOWNNAME>" + godown + "</GODOWNNAME>",
                  "<BATCHNAME>Primary Batch</BATCHNAME>",
                  "<ORDERNO></ORDERNO>",
                  "<TRACKINGNUMBER></TRACKINGNUMBER>",
                  "<MFDON></MFDON>",
                  "<EXPIRYPERIOD/>",
                  "<AMOUNT>" + amount + "</AMOUNT>",
                  "<ACTUALQTY> " + qty + " PC</ACTUALQTY>",
                  "<BILLEDQTY> " + qty + " PC</BILLEDQTY>",
                  "<ORDERDUEDATE></ORDERDUEDATE>",
                  "</BATCHALLOCATIONS.LIST>",
                  "<ACCOUNTINGALLOCATIONS.LIST>",
                  "<TAXCLASSIFICATIONNAME></TAXCLASSIFICATIONNAME>",
                  "<LEDGERNAME>" + salesLedger + "</LEDGERNAME>",
                  "<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>",
                  "<AMOUNT>" + amount + "</AMOUNT>",
                  "<GSTOVRDNASSESSABLEVALUE>" + amount + "</GSTOVRDNASSESSABLEVALUE>",
                  "<CATEGORYALLOCATIONS.LIST>",
                  "<CATEGORY>Primary Cost Category</CATEGORY>",
                  "<COSTCENTREALLOCATIONS.LIST>",
                  "<NAME>North</NAME>",
                  "<AMOUNT>" + amount + "</AMOUNT>",
                  "</COSTCENTREALLOCATIONS.LIST>",
                  "</CATEGORYALLOCATIONS.LIST>",
                  "</ACCOUNTINGALLOCATIONS.LIST>",
                  "</ALLINVENTORYENTRIES.LIST>"});
}

// The masters a sales invoice of the demo books needs.
inline std::string DemoMasters() {
    return StockGroup("KVZ Products") + Unit("PC") +
           SalesLedger("GST Sales 18%", "Sales Accounts", "3401", "9", "9", "18") +
           TaxLedger("Output CGST 9%", "Central Tax") + TaxLedger("Output SGST 9%", "State Tax") +
           Ledger("Round Off", "Indirect Expenses") + VoucherType("KVZ Sales", "Sales") +
           PartyLedger("Anand Stores_17", "Sundry Debtors", "33AAACB1234C1Z5", "Tamil Nadu",
                       {"R17"}) +
           StockItem("Soap_S01", "S01_7", "PC", "KVZ Products",
                     ItemGstRate("9", "9", "18", "3401", "20170701"));
}

// A balanced sales invoice: 2 x 50 of Soap at 18 %, 118 in all.
inline std::string DemoSale(const std::string& remoteId, const std::string& number,
                            const std::string& item = "S01_7", bool cancel = false) {
    return VoucherHead(remoteId, "KVZ Sales", "20240401", number, "Anand Stores_17", cancel) +
           SalesPartyEntry("Anand Stores_17", number, "118") +
           SalesStockLine(item, "100", "2", "50", "GST Sales 18%") +
           LedgerEntry("Output CGST 9%", "9") + LedgerEntry("Output SGST 9%", "9") + VoucherEnd();
}

}  // namespace zentrail::testing::sim_requests
