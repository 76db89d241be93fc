# Copies the resource files the program looks for beside itself into the build's bin folder.
file(GLOB items "${SRC}/aris" "${SRC}/*.tsv" "${SRC}/*.htb")
foreach(item ${items})
  file(COPY "${item}" DESTINATION "${DST}")
endforeach()
