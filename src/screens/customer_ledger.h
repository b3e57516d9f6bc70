#pragma once

#include "tally/masters/ledger_fields.h"

namespace zentrail {

class Recordset;
struct ScreenContext;

// Where a customer query keeps the fields of a customer ledger, and how it reads them. The
// sales party query carries the shipping address; the return and receipt queries the plain one.
struct CustomerColumns {
    const char* add1 = "RtrShipAdd1";
    const char* add2 = "RtrShipAdd2";
    const char* add3 = "RtrShipAdd3";
    const char* pin = "RtrShipPinNo";
    // Composition when COMPOS, trimmed and upper-cased, is exactly "Y"; otherwise when it
    // starts with "Y".
    bool compositionExactY = true;
};

// The ledger of the customer at the current row of `rs`: named by the customer ledger rule,
// under the debtor group, with its address, state (corrected), contacts, PAN, GSTIN and
// registration type.
LedgerFields CustomerLedgerFields(const Recordset& rs, const CustomerColumns& columns,
                                  const ScreenContext& context);

// The customer ledger of a retailer credit note: named by the customer ledger rule, under the
// debtor group, with the address lines RTRADD1 to RTRADD3 of the current row and nothing else.
LedgerFields CustomerAddressLedgerFields(const Recordset& rs, const ScreenContext& context);

}  // namespace zentrail
