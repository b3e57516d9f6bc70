-- Demo distributor-management database (SQLite). Only the tables and columns that the
-- transfer screens read, plus a few keys and codes that make the data self-explaining.
-- Dates are ISO-8601 text ('YYYY-MM-DD HH:MM:SS') in DATETIME columns; amounts have two
-- decimals. Names are matched without regard to case, as on SQL Server.

-- Masters -------------------------------------------------------------------------------

CREATE TABLE STATEMASTER (
    StateId INTEGER PRIMARY KEY,
    StateCode VARCHAR(2) NOT NULL,          -- GST state code, the first two digits of a GSTIN
    StateName VARCHAR(50) NOT NULL
);

CREATE TABLE UOMMASTER (
    UomId INTEGER PRIMARY KEY,
    UomCode VARCHAR(10) NOT NULL,
    UomDescription VARCHAR(50) NOT NULL
);

CREATE TABLE TaxConfiguration (
    TaxId INTEGER PRIMARY KEY,
    TaxCode VARCHAR(10) NOT NULL,           -- CGST, SGST, IGST or UTGST
    TaxName VARCHAR(50) NOT NULL
);

CREATE TABLE Product (
    PrdId INTEGER PRIMARY KEY,
    PrdCCode VARCHAR(20) NOT NULL,          -- company (manufacturer) code
    PrdDCode VARCHAR(20) NOT NULL,          -- distributor code
    PrdName NVARCHAR(100) NOT NULL,
    PrdUnitId INTEGER NOT NULL,             -- UOMMASTER
    PrdMRP DECIMAL(18,2) NOT NULL,
    PrdGSTRate DECIMAL(5,2) NOT NULL        -- total GST percentage
);

-- User-defined columns: UdcHD names a master, UdcMaster its columns, UdcDetails one value
-- per master record.
CREATE TABLE UdcHD (
    MasterId INTEGER PRIMARY KEY,
    MasterName VARCHAR(50) NOT NULL
);

CREATE TABLE UdcMaster (
    UdcMasterId INTEGER PRIMARY KEY,
    MasterId INTEGER NOT NULL,
    ColumnName VARCHAR(50) NOT NULL
);

CREATE TABLE UdcDetails (
    UdcDetailId INTEGER PRIMARY KEY,
    MasterId INTEGER NOT NULL,
    UdcMasterId INTEGER NOT NULL,
    MasterRecordId INTEGER NOT NULL,
    ColumnValue NVARCHAR(100)
);

CREATE TABLE Retailer (
    RtrId INTEGER PRIMARY KEY,
    RtrCode VARCHAR(20) NOT NULL,
    RtrName NVARCHAR(100) NOT NULL,
    RtrAdd1 NVARCHAR(100),
    RtrAdd2 NVARCHAR(100),
    RtrAdd3 NVARCHAR(100),
    RtrPinNo VARCHAR(10),
    RtrPhoneNo VARCHAR(30),
    RtrEmailId VARCHAR(100),
    RtrContactPerson NVARCHAR(100),
    RtrRegDate DATETIME,
    RtrTINNo VARCHAR(20),
    RtrCrLimit DECIMAL(18,2),
    RtrCrDays INTEGER,
    RtrDrugLicNo VARCHAR(30),
    RtrDrugExpiryDate DATETIME
);

CREATE TABLE RetailerShipAdd (
    RtrShipId INTEGER PRIMARY KEY,
    RtrId INTEGER NOT NULL,
    RtrShipAdd1 NVARCHAR(100),
    RtrShipAdd2 NVARCHAR(100),
    RtrShipAdd3 NVARCHAR(100),
    RtrShipPinNo VARCHAR(10),
    GSTTinNo VARCHAR(15),
    StateId INTEGER NOT NULL
);

CREATE TABLE Supplier (
    SpmId INTEGER PRIMARY KEY,
    SpmCode VARCHAR(20) NOT NULL,
    SpmName NVARCHAR(100) NOT NULL,
    SpmAdd1 NVARCHAR(100),
    SpmAdd2 NVARCHAR(100),
    SpmAdd3 NVARCHAR(100),
    SpmPhone VARCHAR(30),
    SpmFax VARCHAR(30),
    SpmEmail VARCHAR(100),
    SpmContact NVARCHAR(100)
);

-- The distributor's depots, with the address columns of a supplier.
CREATE TABLE IDTMaster (
    SpmId INTEGER PRIMARY KEY,
    SpmCode VARCHAR(20) NOT NULL,
    SpmName NVARCHAR(100) NOT NULL,
    SpmAdd1 NVARCHAR(100),
    SpmAdd2 NVARCHAR(100),
    SpmAdd3 NVARCHAR(100),
    SpmPhone VARCHAR(30),
    SpmFax VARCHAR(30),
    SpmEmail VARCHAR(100),
    SpmContact NVARCHAR(100)
);

CREATE TABLE Bank (
    BnkId INTEGER PRIMARY KEY,
    BnkCode VARCHAR(20) NOT NULL,
    BnkName NVARCHAR(100) NOT NULL
);

CREATE TABLE BankBranch (
    BnkBrId INTEGER PRIMARY KEY,
    BnkId INTEGER NOT NULL,
    BnkBrCode VARCHAR(20) NOT NULL,
    BnkBrName NVARCHAR(100) NOT NULL
);

CREATE TABLE ReasonMaster (
    ReasonId INTEGER PRIMARY KEY,
    ReasonCode VARCHAR(20) NOT NULL,
    Description NVARCHAR(100) NOT NULL
);

CREATE TABLE SERVICEMASTER (
    ServiceId INTEGER PRIMARY KEY,
    SerCode VARCHAR(20) NOT NULL,
    SerName NVARCHAR(100) NOT NULL,
    SacCode VARCHAR(10)
);

-- Components of a service tax group: TaxId names the group, ServiceTaxSeqId the component.
CREATE TABLE ServiceTaxGroupSetting (
    TaxId INTEGER NOT NULL,
    ServiceTaxSeqId INTEGER NOT NULL,
    ServiceTaxCode VARCHAR(10) NOT NULL,    -- CGST, SGST, IGST or UTGST
    TaxPerc DECIMAL(5,2) NOT NULL,
    PRIMARY KEY (TaxId, ServiceTaxSeqId)
);

-- Sales ---------------------------------------------------------------------------------

-- DlvSts: 1 and 2 not yet delivered, 3 cancelled, 4 delivered.
CREATE TABLE SalesInvoice (
    SalId INTEGER PRIMARY KEY,
    SalInvNo VARCHAR(20) NOT NULL,
    SalInvDate DATETIME NOT NULL,
    RtrId INTEGER NOT NULL,
    RtrShipId INTEGER NOT NULL,
    DlvSts INTEGER NOT NULL,
    OrderKeyNo VARCHAR(20),
    OrderDate DATETIME,
    SalDlvDate DATETIME,
    InvType INTEGER NOT NULL,
    SalGrossAmount DECIMAL(18,2) NOT NULL,
    SalRateDiffAmount DECIMAL(18,2) NOT NULL,
    SalSplDiscAmount DECIMAL(18,2) NOT NULL,
    SalSchDiscAmount DECIMAL(18,2) NOT NULL,
    SalDBDiscAmount DECIMAL(18,2) NOT NULL,
    SalCDAmount DECIMAL(18,2) NOT NULL,
    SalTaxAmount DECIMAL(18,2) NOT NULL,
    TotalAddition DECIMAL(18,2) NOT NULL,
    TotalDeduction DECIMAL(18,2) NOT NULL,
    SalActNetRateAmount DECIMAL(18,2) NOT NULL,   -- net before round-off
    SalRoundOffAmt DECIMAL(18,2) NOT NULL,
    SalNetAmt DECIMAL(18,2) NOT NULL,             -- net rounded to whole rupees
    SalPayAmt DECIMAL(18,2) NOT NULL,             -- net less credit note adjustments
    DBAdjAmount DECIMAL(18,2) NOT NULL,
    CRAdjAmount DECIMAL(18,2) NOT NULL,
    MarketRetAmount DECIMAL(18,2) NOT NULL,
    WindowDisplay INTEGER NOT NULL,
    WindowDisplayAmount DECIMAL(18,2) NOT NULL
);

CREATE TABLE SalesInvoiceProduct (
    SalId INTEGER NOT NULL,
    SlNo INTEGER NOT NULL,
    PrdId INTEGER NOT NULL,
    BaseQty INTEGER NOT NULL,
    Uom1Id INTEGER NOT NULL,
    PrdUnitMRP DECIMAL(18,2) NOT NULL,
    PrdUnitSelRate DECIMAL(18,2) NOT NULL,
    PrdGrossAmount DECIMAL(18,2) NOT NULL,
    PrdSchDiscAmount DECIMAL(18,2) NOT NULL,
    PrdSplDiscAmount DECIMAL(18,2) NOT NULL,
    PrdCDAmount DECIMAL(18,2) NOT NULL,
    PrdDBDiscAmount DECIMAL(18,2) NOT NULL,
    PrdTaxAmount DECIMAL(18,2) NOT NULL,
    PrdNetAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (SalId, SlNo)
);

CREATE TABLE SalesInvoiceProductTax (
    SalId INTEGER NOT NULL,
    PrdSlNo INTEGER NOT NULL,
    TaxId INTEGER NOT NULL,
    TaxPerc DECIMAL(5,2) NOT NULL,
    TaxableAmount DECIMAL(18,2) NOT NULL,
    TaxAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (SalId, PrdSlNo, TaxId)
);

CREATE TABLE SalesInvoiceSchemeDtFreePrd (
    SalId INTEGER NOT NULL,
    SchId INTEGER NOT NULL,
    FreePrdId INTEGER NOT NULL,
    FREEQty INTEGER NOT NULL,
    PRIMARY KEY (SalId, SchId, FreePrdId)
);

-- Retailer credit notes and their adjustment against invoices.
CREATE TABLE CreditNoteRetailer (
    CrNoteNumber VARCHAR(20) PRIMARY KEY,
    CrNoteDate DATETIME NOT NULL,
    RtrId INTEGER NOT NULL,
    ReasonId INTEGER NOT NULL,
    Amount DECIMAL(18,2) NOT NULL,
    CrAdjAmount DECIMAL(18,2) NOT NULL,
    Remarks NVARCHAR(200),
    PostedFrom VARCHAR(30),
    TRANSID INTEGER NOT NULL
);

CREATE TABLE SalInvCrNoteAdj (
    CrNoteNumber VARCHAR(20) NOT NULL,
    SALID INTEGER NOT NULL,
    AdjAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (CrNoteNumber, SALID)
);

-- Sales returns: Status 0 active, 1 cancelled.
CREATE TABLE ReturnHeader (
    ReturnID INTEGER PRIMARY KEY,
    ReturnCode VARCHAR(20) NOT NULL,
    ReturnDate DATETIME NOT NULL,
    RtrId INTEGER NOT NULL,
    SalId INTEGER,                          -- NULL for a return without an invoice
    InvoiceType INTEGER NOT NULL,           -- 1 against an invoice, 2 without
    Status INTEGER NOT NULL,
    RtnGrossAmt DECIMAL(18,2) NOT NULL,
    RtnSplDisAmt DECIMAL(18,2) NOT NULL,
    RtnSchDisAmt DECIMAL(18,2) NOT NULL,
    RtnDBDisAmt DECIMAL(18,2) NOT NULL,
    RtnTaxAmt DECIMAL(18,2) NOT NULL,
    RtnRoundOffAmt DECIMAL(18,2) NOT NULL,
    RtnNetAmt DECIMAL(18,2) NOT NULL
);

CREATE TABLE ReturnProduct (
    ReturnID INTEGER NOT NULL,
    SlNo INTEGER NOT NULL,
    PrdId INTEGER NOT NULL,
    BaseQty INTEGER NOT NULL,
    PrdUnitMRP DECIMAL(18,2) NOT NULL,
    PrdUnitSelRte DECIMAL(18,2) NOT NULL,
    PrdGrossAmt DECIMAL(18,2) NOT NULL,
    PrdSchDisAmt DECIMAL(18,2) NOT NULL,
    PrdSplDisAmt DECIMAL(18,2) NOT NULL,
    PrdCDDisAmt DECIMAL(18,2) NOT NULL,
    PrdTaxAmt DECIMAL(18,2) NOT NULL,
    PrdNetAmt DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (ReturnID, SlNo)
);

CREATE TABLE ReturnProductTax (
    ReturnID INTEGER NOT NULL,
    PrdSlNo INTEGER NOT NULL,
    TaxId INTEGER NOT NULL,
    TaxPerc DECIMAL(5,2) NOT NULL,
    TaxableAmt DECIMAL(18,2) NOT NULL,
    TaxAmt DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (ReturnID, PrdSlNo, TaxId)
);

-- Customer receipts, one ReceiptInvoice row per invoice settled. InvInsSta: 1 received,
-- 2 deposited, 3 realised, 4 bounced; CancelStatus 1 valid, 0 cancelled.
CREATE TABLE Receipt (
    InvRcpNo VARCHAR(20) PRIMARY KEY,
    InvRcpDate DATETIME NOT NULL,
    InvRcpAmt DECIMAL(18,2) NOT NULL,
    InvRcpMode INTEGER NOT NULL             -- 1 cash, 2 cheque, 3 bank transfer
);

CREATE TABLE ReceiptInvoice (
    InvRcpNo VARCHAR(20) NOT NULL,
    InvRcpSNo INTEGER NOT NULL,
    SalId INTEGER NOT NULL,
    SalInvAmt DECIMAL(18,2) NOT NULL,       -- amount applied to the invoice
    BnkId INTEGER,                          -- customer's bank
    BnkBrId INTEGER,
    DisBnkId INTEGER,                       -- distributor's bank
    DisBnkBrId INTEGER,
    InvInsNo VARCHAR(20),
    InvInsDate DATETIME,
    InvDepDate DATETIME,
    InvInsSta INTEGER NOT NULL,
    CancelStatus INTEGER NOT NULL,
    PRIMARY KEY (InvRcpNo, InvRcpSNo)
);

-- Purchases -----------------------------------------------------------------------------

-- Status: 0 pending, 1 confirmed.
CREATE TABLE PurchaseReceipt (
    PurRcptId INTEGER PRIMARY KEY,
    PurRcptRefNo VARCHAR(20) NOT NULL,
    GoodsRcvdDate DATETIME NOT NULL,
    InvDate DATETIME NOT NULL,
    SpmId INTEGER NOT NULL,
    CmpInvNo VARCHAR(30) NOT NULL,
    PurOrderRefNo VARCHAR(20),
    Status INTEGER NOT NULL,
    GrossAmount DECIMAL(18,2) NOT NULL,
    DiscountAmount DECIMAL(18,2) NOT NULL,
    TaxAmount DECIMAL(18,2) NOT NULL,
    RoundOffAmount DECIMAL(18,2) NOT NULL,
    NetAmount DECIMAL(18,2) NOT NULL,
    NetPayable DECIMAL(18,2) NOT NULL
);

CREATE TABLE PurchaseReceiptProduct (
    PurRcptId INTEGER NOT NULL,
    PrdSlNo INTEGER NOT NULL,
    PrdId INTEGER NOT NULL,
    InvBaseQty INTEGER NOT NULL,
    PrdUnitMRP DECIMAL(18,2) NOT NULL,
    PrdLSP DECIMAL(18,2) NOT NULL,
    PrdUnitLSP DECIMAL(18,2) NOT NULL,
    PrdGrossAmount DECIMAL(18,2) NOT NULL,
    PrdDiscount DECIMAL(18,2) NOT NULL,
    PrdTaxAmount DECIMAL(18,2) NOT NULL,
    PrdNetAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (PurRcptId, PrdSlNo)
);

CREATE TABLE PurchaseReceiptProductTax (
    PurRcptId INTEGER NOT NULL,
    PrdSlNo INTEGER NOT NULL,
    TaxId INTEGER NOT NULL,
    TaxPerc DECIMAL(5,2) NOT NULL,
    TaxableAmount DECIMAL(18,2) NOT NULL,
    TaxAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (PurRcptId, PrdSlNo, TaxId)
);

CREATE TABLE PurchaseReceiptClaimScheme (
    PurRcptId INTEGER NOT NULL,
    SlNo INTEGER NOT NULL,
    PrdId INTEGER NOT NULL,
    Quantity INTEGER NOT NULL,
    PRIMARY KEY (PurRcptId, SlNo)
);

-- Inter-depot transfers: StkMgmtTypeId 1 in, 2 out; SpmId is the other depot.
CREATE TABLE IDTManagement (
    IDTMngRefNo VARCHAR(20) PRIMARY KEY,
    DocRefNo VARCHAR(30),
    StkMgmtTypeId INTEGER NOT NULL,
    IDTMngDate DATETIME NOT NULL,
    SpmId INTEGER NOT NULL,
    FromSpmId INTEGER NOT NULL,
    ToSpmId INTEGER NOT NULL,
    Status INTEGER NOT NULL,
    IDTGrossAmt DECIMAL(18,2) NOT NULL,
    IDTTaxAmt DECIMAL(18,2) NOT NULL,
    IDTNetAmt DECIMAL(18,2) NOT NULL,
    IDTPaidAmt DECIMAL(18,2) NOT NULL,
    LRNo VARCHAR(30),
    LRDate DATETIME
);

CREATE TABLE IDTManagementProduct (
    IDTMngRefNo VARCHAR(20) NOT NULL,
    PrdSlNo INTEGER NOT NULL,
    PrdId INTEGER NOT NULL,
    Qty INTEGER NOT NULL,
    PrdMRPRate DECIMAL(18,2) NOT NULL,
    PrdUnitRate DECIMAL(18,2) NOT NULL,
    PrdGrossAmount DECIMAL(18,2) NOT NULL,
    PrdTaxAmount DECIMAL(18,2) NOT NULL,
    PrdNetAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (IDTMngRefNo, PrdSlNo)
);

CREATE TABLE IDTManagementProductTax (
    IDTMngRefNo VARCHAR(20) NOT NULL,
    PrdSlNo INTEGER NOT NULL,
    TaxId INTEGER NOT NULL,
    TaxPerc DECIMAL(5,2) NOT NULL,
    TaxableAmount DECIMAL(18,2) NOT NULL,
    TaxAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (IDTMngRefNo, PrdSlNo, TaxId)
);

-- Service invoices: SERVICEINVFOR 1 bought from a retailer (SERVICEFROMID), 2 sold to a
-- supplier (SERVICETOID). FROMGSTTINNO and FROMSTATECODE are the party's GSTIN and state name.
CREATE TABLE SERVICEINVOICEHD (
    ServiceInvId INTEGER PRIMARY KEY,
    ServiceInvRefNo VARCHAR(20) NOT NULL,
    ServiceInvDate DATETIME NOT NULL,
    ServiceInvFor INTEGER NOT NULL,
    ServiceFromId INTEGER,
    ServiceToId INTEGER,
    ServiceType INTEGER NOT NULL,
    ServiceAcCode VARCHAR(20),
    ServiceAmount DECIMAL(18,2) NOT NULL,
    GSTAmount DECIMAL(18,2) NOT NULL,
    TotalAmount DECIMAL(18,2) NOT NULL,
    ReverseCharges VARCHAR(1) NOT NULL,
    ServiceInvStatus INTEGER NOT NULL,
    DocRefNo VARCHAR(30),
    Remarks NVARCHAR(200),
    FromGSTTinNo VARCHAR(15),
    FromStateCode NVARCHAR(50)
);

CREATE TABLE ServiceInvoiceTaxDetails (
    ServiceInvId INTEGER NOT NULL,
    TaxId INTEGER NOT NULL,
    ServiceTaxSeqId INTEGER NOT NULL,
    TaxPerc DECIMAL(5,2) NOT NULL,
    TaxableAmount DECIMAL(18,2) NOT NULL,
    TaxAmount DECIMAL(18,2) NOT NULL,
    PRIMARY KEY (ServiceInvId, TaxId, ServiceTaxSeqId)
);

-- Look-up paths of the screens' joins ---------------------------------------------------

CREATE INDEX IX_UdcDetails_Record ON UdcDetails (MasterRecordId, UdcMasterId);
CREATE INDEX IX_RetailerShipAdd_Rtr ON RetailerShipAdd (RtrId);
CREATE INDEX IX_SalesInvoice_Date ON SalesInvoice (SalInvDate);
CREATE INDEX IX_SalesInvoice_Rtr ON SalesInvoice (RtrId);
CREATE INDEX IX_SalInvCrNoteAdj_Sal ON SalInvCrNoteAdj (SALID);
CREATE INDEX IX_ReturnHeader_Date ON ReturnHeader (ReturnDate);
CREATE INDEX IX_ReceiptInvoice_Sal ON ReceiptInvoice (SalId);
CREATE INDEX IX_PurchaseReceipt_Date ON PurchaseReceipt (InvDate);
CREATE INDEX IX_IDTManagement_Date ON IDTManagement (IDTMngDate);
CREATE INDEX IX_ServiceInvoice_Date ON SERVICEINVOICEHD (ServiceInvDate);
