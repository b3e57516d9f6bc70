#pragma once

#include <string>

namespace zentrail {

// SQL texts of the item master screen; none takes a date range.

// Every product that carries an HSN code (the grid's rows).
std::string ItemListQuery();

// The list query with one blank less before ORDER BY; only its field names are used.
std::string ItemColumnQuery();

// Every product the list query leaves out for want of an HSN code: PrdId, PrdCCode, PrdName.
std::string ItemWithoutHsnQuery();

// Every unit of measure.
std::string ItemUnitQuery();

// Per product, each distinct positive tax percentage of delivered invoices from 1 July 2017.
std::string ItemSalesRateQuery();

// Per product, each distinct positive tax percentage of returns of status 0 from 1 July 2017.
std::string ItemReturnRateQuery();

// Per product, the zero-rated taxable lines of delivered invoices from 27 July 2018.
std::string ItemZeroRateSalesQuery();

}  // namespace zentrail
