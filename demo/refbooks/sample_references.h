// The sample reference books of a trading company, as declarative tables:
// organisations with their requisites, price types, currencies, stores and
// operation types. Texts are UTF-8 here; the writer converts them to code page
// 1251 as it stores them. The exchange-rate history is made by sample_rates.h.
#pragma once

#include <cstdint>
#include <vector>

namespace demo {

struct SampleFirm {
    std::uint16_t code;
    const char* name;       // as documents print it
    const char* fullName;   // the legal form spelt out
    const char* address;    // where it works
    const char* legalAddress;
    const char* phones;
    const char* fax;
    const char* director;
    const char* commercialDirector;
    const char* chiefAccountant;
    const char* cashier;
    const char* inn;        // ИНН/КПП of a company, ИНН of a sole trader
    const char* okpo;
    const char* account;    // settlement account
    const char* bank;
    const char* bik;
    const char* correspondentAccount;
    const char* basePath;   // its own database
    bool vat;               // pays VAT: a sole trader on the simplified system does not
    bool weighedGoods;
    std::uint16_t store;    // default store
};

struct SamplePrice {
    std::uint16_t code;
    const char* name;
    double discount;     // percent
    double coefficient;  // over the purchase price
    const char* note;
};

struct SampleCurrency {
    std::uint16_t code;
    const char* designation;
    const char* name;
    std::int16_t isoNumber;  // VAL:VEQU
    double level;            // the central-bank rate it moves around; 1 for the rouble
    double wholesale;        // percent over the bank rate
    double retail;           // percent over the bank rate
};

struct SampleStore {
    std::uint16_t code;
    const char* name;
    const char* address;
    const char* city;
    const char* phone;
    const char* fax;
    bool retail;
    bool remote;
    std::uint8_t price;          // PRI:ID of the default price
    std::uint16_t responsible;   // MOL:SCODE of the library's sample staff
};

struct SampleOperationType {
    std::uint16_t code;
    const char* designation;
    const char* name;
    bool goods;
    bool money;
    bool receipt;
};

const std::vector<SampleFirm>& sampleFirms();
const std::vector<SamplePrice>& samplePrices();
// The rouble first: the national currency, in which every rate is quoted.
const std::vector<SampleCurrency>& sampleCurrencies();
const std::vector<SampleStore>& sampleStores();
const std::vector<SampleOperationType>& sampleOperationTypes();

}  // namespace demo
