# cmake -DFILE=<path> -P sha256_file.cmake: writes <path>.sha256 in the format of
# `sha256sum` ("<hash>  <name>"), so that `sha256sum -c` checks a download with it.
file(SHA256 "${FILE}" _hash)
get_filename_component(_name "${FILE}" NAME)
file(WRITE "${FILE}.sha256" "${_hash}  ${_name}\n")
