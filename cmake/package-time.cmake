# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# Read by cpack before it packs: the package's file times are those of the
# last commit, unless the environment names a SOURCE_DATE_EPOCH itself, so
# that the same sources give the same package whenever they are packed.
# Outside a git checkout the files keep the time of packing.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C ${CPACK_ZINDRA_SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET)
  if(NOT failed AND epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()
