#!/usr/bin/perl
# Writes the fuzzer's seed corpus into fuzz/corpus: small documents cut from the shipped
# templates and the example port (the root with one section, or with one part of the
# runtime library configuration), and hand-made documents of the shapes the editor must
# survive. Run it again after the templates change:
#
#   perl fuzz/make_corpus.pl

use strict;
use warnings;

use File::Basename qw(dirname);
use File::Spec;
use XML::LibXML;

my $fuzz = File::Spec->rel2abs(dirname(__FILE__));
my $root = dirname($fuzz);
my $out = "$fuzz/corpus";
mkdir $out unless -d $out;
unlink glob("$out/*.xvm");

# Seeds above this size slow the fuzzer down for little gain: they are cut further.
use constant LIMIT => 12 * 1024;

my $count = 0;
sub seed {
    my ($name, $text) = @_;
    $name =~ s/[^A-Za-z0-9_.-]/_/g;
    my $path = "$out/$name.xvm";
    open(my $fh, '>:raw', $path) or die "cannot write $path: $!";
    print {$fh} $text;
    close $fh or die "cannot write $path: $!";
    ++$count;
}

sub document_with {
    my ($vmr, @children) = @_;
    my $doc = XML::LibXML::Document->new('1.0', 'UTF-8');
    $doc->createInternalSubset('VMR', undef, 'vmr.dtd');
    my $copy = $doc->createElement('VMR');
    $copy->setAttribute($_->nodeName, $_->value) for $vmr->attributes;
    $doc->setDocumentElement($copy);
    $copy->appendChild($_->cloneNode(1)) for @children;
    return $doc->toString(0);
}

# One element, cut down while too large: the first children that fit are kept.
sub trimmed {
    my ($element) = @_;
    my $copy = $element->cloneNode(1);
    while (length($copy->toString) > LIMIT) {
        my @children = grep { $_->nodeType == XML_ELEMENT_NODE } $copy->childNodes;
        last if @children < 2;
        $copy->removeChild($children[-1]);
    }
    return $copy;
}

my @sources = (glob("$root/targets/xml/template*.xvm"), glob("$root/targets/examples/*.xvm"));
for my $source (@sources) {
    my ($base) = $source =~ m{([^/]+)\.xvm$};
    my $doc = XML::LibXML->load_xml(location => $source);
    my $vmr = $doc->documentElement;
    my @sections = grep { $_->nodeType == XML_ELEMENT_NODE } $vmr->childNodes;
    for my $section (@sections) {
        my $tag = $section->nodeName;
        if ($tag eq 'LIBCONF') {
            # The configuration element, one part of it at a time.
            for my $conf (grep { $_->nodeType == XML_ELEMENT_NODE } $section->childNodes) {
                next if $conf->nodeName eq 'COMMENT';
                my $n = 0;
                for my $part (grep { $_->nodeType == XML_ELEMENT_NODE } $conf->childNodes) {
                    my $lib = $section->cloneNode(0);
                    $lib->setAttribute($_->nodeName, $_->value) for $section->attributes;
                    my $c = $conf->cloneNode(0);
                    $c->appendChild(trimmed($part));
                    $lib->appendChild($c);
                    seed(sprintf('%s-%s-%02d-%s', $base, $conf->nodeName, $n++, $part->nodeName),
                         document_with($vmr, $lib));
                }
            }
        } else {
            seed("$base-$tag", document_with($vmr, trimmed($section)));
        }
    }
}

# Shapes that the shipped documents do not have.
my $head = qq{<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE VMR SYSTEM "vmr.dtd">\n};
my %shapes = (
    'shape-not-vmr-root' => qq|$head<PORT Name="x" Version="V2009"><IS Label="Settings"/></PORT>\n|,
    'shape-empty-root' => qq|$head<VMR/>\n|,
    'shape-no-version' => qq|$head<VMR Name="NoVersion" type="CCPP"><COMMENT>c</COMMENT></VMR>\n|,
    'shape-older-version' => qq|$head<VMR Name="Old" Version="V2005" type="ADA"><IS Label="S"><IS_A Label="A"><SETTINGS><SRCEXT Label="s"><VALUE>.adb</VALUE></SRCEXT></SETTINGS></IS_A></IS></VMR>\n|,
    'shape-unknown-version' => qq|$head<VMR Name="Future" Version="V2099"/>\n|,
    'shape-reversed-sections' => qq|$head<VMR Name="R" Version="V2009"><PARSERCONF Label="P"><COMMENT/><X><PCOPP Label="o"><VALUE>-D1</VALUE></PCOPP></X></PARSERCONF><LIBCONF Label="L"><LIBCONFC><FREE_TEXT_AFTER_FOR_VMR Label="a"><VALUE>t</VALUE></FREE_TEXT_AFTER_FOR_VMR></LIBCONFC></LIBCONF><BUILD Label="B"><NEWCMDFILE Name="f"><COMMENT/><VALUE>v</VALUE></NEWCMDFILE></BUILD><IS Label="I"><IS_C Label="C"><SETTINGS/></IS_C></IS></VMR>\n|,
    'shape-two-libconfs' => qq|$head<VMR Name="T" Version="V2009"><LIBCONF Label="L"><LIBCONFA><TYPES Label="t"><ITEM><TYPEADA Name="T"><VALUE>Integer</VALUE></TYPEADA></ITEM></TYPES></LIBCONFA><LIBCONFC><CLOCK Label="c"><CHOICE Name="n" Value="v"><CHOICEDATA Sensitive="1">v</CHOICEDATA><ONGLET Label="o"><VALUEFCTC><PROTO>p</PROTO><VALUE>b</VALUE><TAIL>}</TAIL></VALUEFCTC></ONGLET></CHOICE></CLOCK></LIBCONFC></LIBCONF></VMR>\n|,
    'shape-parser-single-child' => qq|$head<VMR Name="P" Version="V2009"><PARSERCONF Label="P"><PC_ORB><ORBPARSER Label="o"><VALUE>x</VALUE></ORBPARSER></PC_ORB></PARSERCONF></VMR>\n|,
    'shape-pc-orb-text-first' => qq|$head<VMR Name="P" Version="V2009"><PARSERCONF Label="P"><COMMENT/><S><PC_ORB>text first<ORBPARSER Label="o"/></PC_ORB><PC_EDG Label="e"><PCHPP Label="h"/><PCOPP/></PC_EDG><STANDARDA83/><JTESTXML Label="j"><VALUE/></JTESTXML></S></PARSERCONF></VMR>\n|,
    'shape-missing-children' => qq|$head<VMR Version="V2009"><IS><IS_ALL/></IS><BUILD><COMPILATION/><NEWCMDFILE/><NEWBINFILE/><LINK><VALUEFCT/></LINK></BUILD><LIBCONF><LIBCONFJAVA><CUSTOMJAVA><JAVA_IMPORTS/><JAVA_CLOCK/></CUSTOMJAVA><CUSTOMJVMPI><BUILD_JVMPI/><JVMPI_IO/></CUSTOMJVMPI><RESTRICTIONS/><FILTERS/></LIBCONFJAVA></LIBCONF></VMR>\n|,
    'shape-fields-without-attributes' => qq|$head<VMR Version="V2009"><LIBCONF><LIBCONFC><CONSTANTS Label="k"><COMMENT/><ITEM><TEXT_MACRO/></ITEM><ITEM><BINARY_MACRO Value="yes"/></ITEM><ITEM><OPTIONAL_MACRO Defined="2"/></ITEM><ITEM><RENAMEADA/></ITEM><ITEM><CONSTANTSTRINGADA Name=""><VALUE/><VALUE>second</VALUE></CONSTANTSTRINGADA></ITEM><ITEM/>text<ITEM><UNKNOWN_FIELD/></ITEM></CONSTANTS></LIBCONFC></LIBCONF></VMR>\n|,
    'shape-choice-odd' => qq|$head<VMR Version="V2009"><LIBCONF><LIBCONFC><THREADS Label="t"><CHOICE Value="absent"><CHOICEDATA/><CHOICEDATA Sensitive="1"><X/></CHOICEDATA><ONGLET/><ONGLET Label="i"><ITEM><ITEM><TEXT_MACRO Name="n"><COMMENT/><VALUE>v</VALUE></TEXT_MACRO></ITEM></ITEM></ONGLET><ONGLET Label="f"><VALUEFCTH/></ONGLET></CHOICE><CHOICE Name="second"/></THREADS><CLOCK Label="no choice"/></LIBCONFC></LIBCONF></VMR>\n|,
    'shape-settings-odd' => qq|$head<VMR Version="V2009"><IS><IS_CPP Label="c">text<SETTINGS><INIFIELD/><INIFIELD><KEY/><VALUE/></INIFIELD><SRCEXT><VALUE><![CDATA[<&>]]></VALUE></SRCEXT></SETTINGS></IS_CPP><IS_A83/></IS></VMR>\n|,
    'shape-binary-file' => qq|$head<VMR Version="V2009"><BUILD Label="b"><NEWBINFILE Name="lib.a"><COMMENT/><ENCODED_FILE Name="lib.a" Size="3" Encoding="base64"><DATA>\nAAEC\n</DATA></ENCODED_FILE></NEWBINFILE></BUILD></VMR>\n|,
    'shape-markup-kinds' => qq|<?xml version="1.0"?>\n<!-- before -->\n<?pi data?>\n<!DOCTYPE VMR SYSTEM "vmr.dtd">\n<VMR Name="a&amp;b &#233;&#x10348;" Version="V2009"><!-- c --><?p q?><COMMENT><![CDATA[ ]]>x&lt;y</COMMENT><BUILD Label="&quot;b&quot;"><NEWCMDFILE Name="\tn"><COMMENT/><VALUE>line\r\nline</VALUE></NEWCMDFILE></BUILD></VMR>\n<!-- after -->\n|,
    'shape-text-kinds' => qq|$head<VMR Name="t" Version="V2009" type="CCPP" Doc="VMR" read_only="no"><COMMENT>abc<?pi x?>def<!--c-->ghi</COMMENT><BUILD Label="b" Doc="\tx&#9;]]>&#10;y&#13;" Zeta="z" Alpha="a"><NEWCMDFILE Name="\xC2\xA0"><COMMENT>\xC2\xA0</COMMENT><VALUE>a]]&gt;b<![CDATA[c]]]]>d]]&gt;&#13;<?e?></VALUE></NEWCMDFILE><NEWCMDFILE Name="s"><COMMENT>\xE3\x80\x80</COMMENT><VALUE>&#x20;&#9;</VALUE></NEWCMDFILE></BUILD></VMR>\n|,
    'shape-entity-declared' => qq|<?xml version="1.0"?>\n<!DOCTYPE VMR [<!ENTITY e "expanded">]>\n<VMR Version="V2009"><COMMENT>&e;</COMMENT></VMR>\n|,
    'shape-entity-undeclared' => qq|<?xml version="1.0"?>\n<VMR Version="V2009"><COMMENT>&nothing;</COMMENT></VMR>\n|,
    'shape-namespaces' => qq|<?xml version="1.0"?>\n<v:VMR xmlns:v="urn:x" v:Version="V2009"><IS xmlns="urn:y"/></v:VMR>\n|,
    'shape-utf16' => "\xFF\xFE" . join('', map { "$_\0" } split //, qq{<?xml version="1.0" encoding="UTF-16"?><VMR Name="u" Version="V2009"/>}),
    'shape-latin1' => qq|<?xml version="1.0" encoding="ISO-8859-1"?>\n<VMR Name="caf\xE9" Version="V2009"><COMMENT>\xE9t\xE9</COMMENT></VMR>\n|,
    'shape-truncated' => qq|$head<VMR Name="cut" Version="V2009"><BUILD Label="b"><NEWCMDFILE Name="f"><COMMENT/><VALUE>half a fi|,
    'shape-nested' => $head . '<VMR Version="V2009"><LIBCONF><LIBCONFC><COMMENT_PAGE>' . ('<COMMENT_PAGE>' x 200) . ('</COMMENT_PAGE>' x 200) . '</COMMENT_PAGE></LIBCONFC></LIBCONF></VMR>' . "\n",
    'shape-wrong-places' => qq|$head<VMR Version="V2009"><VMR/><IS><BUILD/><NEWCMDFILE Name="f"/><LIBCONF/></IS><BUILD><IS_C/><LIBCONFC/><ITEM_PAGE/><CHOICE/></BUILD><LIBCONF><PARSERCONF/><LIBCONFC><IS/><NEWBINFILE/><COMMENT_PAGE><SYSTEM_TESTING/><FCT_PAGE/><PRIV_INIT/></COMMENT_PAGE><SYSTEM_TESTING><OBSERVATIONS><ITEM_PAGE/></OBSERVATIONS></SYSTEM_TESTING></LIBCONFC></LIBCONF><PARSERCONF><LIBCONF/><BUILD><PC_EDG><PC_EDG/></PC_EDG><PC_ORB/></BUILD></PARSERCONF></VMR>\n|,
);
seed($_, $shapes{$_}) for sort keys %shapes;

print "$count seeds in $out\n";
