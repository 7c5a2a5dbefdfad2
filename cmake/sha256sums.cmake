# cmake -DOUT=SUMS -DFILES="a;b" -P sha256sums.cmake
# Writes OUT in the format of sha256sum: "<hash>  <file name>" per line.
set(text "")
foreach(file IN LISTS FILES)
  file(SHA256 ${file} hash)
  get_filename_component(name ${file} NAME)
  string(APPEND text "${hash}  ${name}\n")
endforeach()
file(WRITE ${OUT} "${text}")
