# The configuration store of kvadrel as scratch workspaces write it (the text
# format of the Windows registry editor), for scripts to source.
#
#   { store_header; store_type ...; store_type ...; } > "$XDG_CONFIG_HOME/kvadrel/registry.reg"

# The first lines of a store file.
store_header() {
  printf 'Windows Registry Editor Version 5.00\n\n'
}

# The sections of one update type:
#   store_type <type> <codec> <ident> <from folder/> <to folder/> <mask> <field>...
# each field "name:width:code" or "name:width:code:alternate code" (by
# default the code itself).
store_type() {
  local type=$1 codec=$2 ident=$3 from=$4 to=$5 mask=$6
  shift 6
  printf '[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\%s]\n' "$type"
  printf '"Codec"=dword:%08x\n"Ident"="%s"\n"From"="%s"\n"To"="%s"\n"Mask"="%s"\n\n' \
    "$codec" "$ident" "$from" "$to" "$mask"
  local key=100 field name width code alternate
  for field in "$@"; do
    IFS=: read -r name width code alternate <<<"$field"
    printf '[HKEY_CURRENT_USER\\Vestrakon\\Delta\\Type\\%s\\%d]\n' "$type" "$key"
    printf '"Name"="%s"\n"Size"=dword:%08x\n"Code"=dword:%08x\n"ACode"=dword:%08x\n\n' \
      "$name" "$width" "$code" "${alternate:-$code}"
    key=$((key + 1))
  done
}
