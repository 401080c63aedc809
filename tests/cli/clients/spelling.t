# Test::Spelling (Debian's libtest-spelling-perl) with `quenvarspell list` as
# its spell command, over the POD file named by SPELLING_POD.
use strict;
use warnings;
use Test::More;
use Test::Spelling;

set_spell_cmd("$ENV{QUENVARSPELL} list");
all_pod_files_spelling_ok($ENV{SPELLING_POD});
