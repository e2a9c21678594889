#!/usr/bin/perl
# The port descriptions shipped with the installation (the four templates and the example
# port) and the reference page that documents them.
use strict;
use warnings;
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;
use XML::LibXML;

my $source = $ENV{VMR_SOURCE_DIR} || "$FindBin::Bin/..";
my %SHIPPED = ('xml/templatec.xvm' => 'CCPP yes', 'xml/templatea.xvm' => 'ADA yes', 'xml/templatej2se.xvm' => 'J2SE yes',
               'xml/templatej2me.xvm' => 'J2ME yes', 'examples/linux_gcc.xvm' => 'CCPP no');
my %docs = map { $_ => XML::LibXML->load_xml(location => "$source/targets/$_", load_ext_dtd => 0, no_network => 1, expand_entities => 0) }
    keys %SHIPPED;

# What a viewer would show wrongly, or the editor would drop.
my $FIELD = join ' or ', map {"self::$_"} qw(TEXT_MACRO TYPEADA CONSTANTADA CONSTANTSTRINGADA BINARY_MACRO OPTIONAL_MACRO RENAMEADA);
my %FAULTS = (
    'page without Doc or COMMENT' => '//*[@Label][not(self::ONGLET)][not(@Doc) or not(COMMENT or */COMMENT)]',
    'field without Name, Doc or COMMENT' => "//*[$FIELD][not(\@Name != '') or not(\@Doc) or not(COMMENT)]",
    'text field whose second child is not VALUE' => '//*[self::TEXT_MACRO or self::TYPEADA or self::CONSTANTADA or self::CONSTANTSTRINGADA][not(node()[2][self::VALUE])]',
    'on/off field that is neither 0 nor 1' => '//BINARY_MACRO[not(@Value="0" or @Value="1")] | //RENAMEADA[not(@Value="0" or @Value="1")] | //OPTIONAL_MACRO[not(@Defined="0" or @Defined="1") or not(@Value)]',
    'chosen variant that is no variant' => '//CHOICE[not(CHOICEDATA = @Value)] | //CHOICEDATA[. = preceding-sibling::CHOICEDATA]',
    'sheets without an enabling variant, or the reverse' => '//CHOICE[boolean(ONGLET) != boolean(CHOICEDATA[@Sensitive="1"])]',
    'function without PROTO, VALUE or TAIL' => '//*[starts-with(name(), "VALUEFCT")][not(PROTO and VALUE and TAIL)]',
    'table row without VALUE or COMMENT, or a key twice' => '//IS/*/*/*[not(self::COMMENT)][not(VALUE and COMMENT)] | //INIFIELD[not(@Doc="ISOTHERS") or KEY = preceding-sibling::INIFIELD/KEY]',
    'blank text' => '//*[self::VALUE or self::PROTO or self::TAIL or self::COMMENT or self::KEY][string-length() > 0][normalize-space() = ""]');
# The generated units and what checks them; their faults link against nothing on the target.
# J2ME's classes come with a device's SDK, which no desktop compiler has.
chomp(my $gnat = qx{gcc -print-prog-name=gnat1 2>/dev/null} // '');
my %COMPILE = (c => 'gcc -fsyntax-only -Wall -Werror=implicit-function-declaration', pl => "'$^X' -Mstrict -Mwarnings=FATAL,all -c",
               (qx{which javac} ? (java => 'javac -d .') : ()), ($gnat && -x $gnat ? (ads => 'gcc -c -gnatc', adb => 'gcc -c -gnatc') : ()));
my %UNITS = (CCPP => qr/\.c$/, ADA => qr/\.ad[sb]$/, J2SE => qr/\.java$/, J2ME => qr/(?!)/);

for my $name (sort keys %docs) {
    my $doc = $docs{$name};
    subtest $name => sub {
        my $root = $doc->documentElement;
        is(join(' ', map { $root->getAttribute($_) // '' } qw(Version type read_only)), "V2009 $SHIPPED{$name}", 'current, of its family');
        unlike($doc->toString, qr/<!ENTITY/, 'no entities, which the editor refuses');
        is_deeply([map { $_->nodePath } $doc->findnodes($FAULTS{$_})], [], "no $_") for sort keys %FAULTS;
        my $dir = File::Temp->newdir;
        my $r = run_script('vmrgen.pl', "$source/targets/$name", "$dir");
        is($r->{status}, 0, 'generates') or diag($r->{stderr});
        is(scalar(ini_name_lines("$dir")), 1, 'one NAME= line');
        is(run_script('vmrprint.pl', "$source/targets/$name", "$dir/out.txt")->{status}, 0, 'exports');
        my $units = $UNITS{ $root->getAttribute('type') };
        for my $unit (grep { m{/(?:build|libconf)\.pl$} || /$units/ } glob("$dir/*/*.*")) {
            my ($ext) = $unit =~ /\.(\w+)$/;
            next unless $COMPILE{$ext};
            my $out = qx{cd '$dir' && $COMPILE{$ext} '$unit' 2>&1};
            is($?, 0, ($unit =~ s{^\Q$dir\E/}{}r) . ' compiles') or diag($out);
        }
    };
}

subtest 'the reference page documents every anchor that the documents name' => sub {
    my $page = XML::LibXML->load_xml(location => "$source/targets/xml/Reference.html");
    my (%anchors, %used);
    is_deeply([grep { $anchors{$_}++ } map { $_->getAttribute('name') } $page->findnodes('//a[@name]')], [], 'anchors are unique');
    $used{ $_->getAttribute('Doc') } = 1 for map { $_->findnodes('//*[@Doc != ""]') } values %docs;
    # File nodes carry no Doc: the editor shows the section named after their tag.
    $used{$_} = 1 for qw(NEWCMDFILE NEWBINFILE);
    is_deeply([grep { !$anchors{$_} } sort keys %used], [], 'every Doc has its anchor');
    is_deeply([grep { !$used{$_} } sort keys %anchors], [], 'every anchor documents something');
    like(slurp("$source/doc/$_/index.html"), qr/name="doc_vmreditor"/, "the $_ guide has the editor's topic") for qw(orbk-ug zphr-ug);
};

done_testing;
