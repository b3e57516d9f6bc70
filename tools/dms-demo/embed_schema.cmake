# Writes OUT, a C++ file whose SchemaSql() returns the text of IN (schema.sql).
file(READ "${IN}" schema)
set(delimiter "schema_sql")
file(WRITE "${OUT}.tmp"
  "// Generated from schema.sql at build time.\n"
  "#include \"dms_demo.h\"\n\n"
  "namespace zentrail::dms_demo {\n\n"
  "std::string_view SchemaSql() {\n"
  "    static constexpr char kSchema[] = R\"${delimiter}(${schema})${delimiter}\";\n"
  "    return {kSchema, sizeof kSchema - 1};\n"
  "}\n\n"
  "}  // namespace zentrail::dms_demo\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
