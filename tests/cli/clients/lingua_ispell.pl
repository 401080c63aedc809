# Lingua::Ispell (Debian's liblingua-ispell-perl) driving the tool as its
# ispell: prints what the module reports, one line a word, then adds words
# to the personal dictionary and saves it.
#
#   perl lingua_ispell.pl TOOL PERSONAL_DICTIONARY
use strict;
use warnings;
use Lingua::Ispell qw(:all);

$Lingua::Ispell::path = shift;
use_personal_dictionary(shift);
make_wild_guesses(0);  # the module passes -P for this

sub report {
  for my $r (spellcheck(shift)) {
    my @misses = @{ $r->{misses} || [] };
    print join(' ', $r->{type}, $r->{term}, @misses[0 .. ($#misses < 2 ? $#misses : 2)]), "\n";
  }
}

report("Teh house, 1984 -- recieve xqzxqz");
accept_word("zorblat");
add_word("Quenvar");
add_word_lc("Flurbix");
save_dictionary();
report("zorblat quenvar flurbix");  # answered after the save
