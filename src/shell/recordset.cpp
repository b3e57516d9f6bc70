#include "shell/recordset.h"

#include <stdexcept>
#include <unordered_map>

#include "shell/recordset_filter.h"
#include "shell/row_index.h"

namespace zentrail {
namespace {

struct NameHash {
    size_t operator()(std::string_view name) const { return FieldNameHash(name); }
};
struct NameEqual {
    bool operator()(std::string_view a, std::string_view b) const { return SameFieldName(a, b); }
};

using RowList = RowIndex::Rows;

}  // namespace

struct Recordset::Impl {
    bool open = false;
    RowSet rows;
    std::unordered_map<std::string_view, size_t, NameHash, NameEqual> fieldByName;
    std::vector<RowIndex> indexes;
    const RowList* selection = nullptr;  // nullptr: no filter, every row
    std::string filterText;
    size_t position = 0;  // among the selected rows; == Count() at EOF

    size_t Count() const { return selection ? selection->size() : rows.RowCount(); }
    size_t CurrentRow() const { return selection ? (*selection)[position] : position; }

    void RequireOpen() const {
        if (!open) throw ado_error::ObjectClosed();
    }

    size_t FieldNumber(std::string_view name) const {
        auto found = fieldByName.find(name);
        if (found == fieldByName.end()) throw ado_error::ItemNotFound();
        return found->second;
    }

    const RowList& NumberMatches(size_t field, double number) {
        return indexes[field].WithNumber(number);
    }
    const RowList& TextMatches(size_t field, const std::string& text) {
        return indexes[field].WithText(text);
    }

    FieldValue Value(size_t field) const {
        if (position >= Count()) throw ado_error::NoCurrentRecord();
        size_t row = CurrentRow();
        bool isNull = rows.IsNull(row, field);
        return FieldValue{rows.FieldNames()[field], rows.Text(row, field), isNull};
    }
};

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

void Recordset::Open(RowSet rows) {
    // A fresh Impl: no view into the old rows survives.
    auto impl = std::make_unique<Impl>();
    impl->rows = std::move(rows);
    const auto& names = impl->rows.FieldNames();
    for (size_t i = 0; i < names.size(); ++i) impl->fieldByName.emplace(names[i], i);  // first wins
    impl->indexes.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) impl->indexes.emplace_back(impl->rows, i);
    impl->open = true;
    impl_ = std::move(impl);
}

void Recordset::Close() { impl_ = std::make_unique<Impl>(); }

Recordset::Impl& Recordset::Live() const {
    // Moving leaves no rows behind; a caller still holding the old set has a bug to see.
    if (!impl_) throw std::logic_error("Recordset used after it was moved from");
    return *impl_;
}

int Recordset::State() const { return Live().open ? kStateOpen : kStateClosed; }

long Recordset::RecordCount() const {
    Impl& impl = Live();
    impl.RequireOpen();
    return static_cast<long>(impl.Count());
}

long Recordset::AbsolutePosition() const {
    Impl& impl = Live();
    impl.RequireOpen();
    if (impl.position >= impl.Count()) return 0;
    return static_cast<long>(impl.position + 1);
}

bool Recordset::Eof() const {
    Impl& impl = Live();
    impl.RequireOpen();
    return impl.position >= impl.Count();
}

bool Recordset::Bof() const {
    Impl& impl = Live();
    impl.RequireOpen();
    return impl.Count() == 0;  // no backward moves, so only an empty set sits before its first row
}

void Recordset::MoveFirst() {
    Impl& impl = Live();
    impl.RequireOpen();
    impl.position = 0;
}

void Recordset::MoveNext() {
    Impl& impl = Live();
    impl.RequireOpen();
    if (impl.position >= impl.Count()) throw ado_error::NoCurrentRecord();
    ++impl.position;
}

size_t Recordset::FieldCount() const {
    Impl& impl = Live();
    impl.RequireOpen();
    return impl.rows.FieldCount();
}

std::string Recordset::FieldName(size_t index) const {
    Impl& impl = Live();
    impl.RequireOpen();
    if (index >= impl.rows.FieldCount()) throw ado_error::ItemNotFound();
    return impl.rows.FieldNames()[index];
}

FieldValue Recordset::Fields(size_t index) const {
    Impl& impl = Live();
    impl.RequireOpen();
    if (index >= impl.rows.FieldCount()) throw ado_error::ItemNotFound();
    return impl.Value(index);
}

FieldValue Recordset::Fields(std::string_view name) const {
    Impl& impl = Live();
    impl.RequireOpen();
    return impl.Value(impl.FieldNumber(name));
}

void Recordset::Filter(std::string_view expression) {
    Impl& impl = Live();
    impl.RequireOpen();
    FilterExpression filter = ParseFilter(expression);
    if (filter.field.empty()) {
        impl.selection = nullptr;
        impl.filterText.clear();
    } else {
        size_t field = impl.FieldNumber(filter.field);
        impl.selection = filter.isNumber ? &impl.NumberMatches(field, filter.number)
                                         : &impl.TextMatches(field, filter.text);
        impl.filterText = std::string(expression);
    }
    impl.position = 0;
}

const std::string& Recordset::FilterText() const { return Live().filterText; }

}  // namespace zentrail
