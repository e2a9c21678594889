#!/usr/bin/perl
# Version list and document updates (vmrver.pl).

use strict;
use warnings;

use File::Copy ();
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;
use XML::LibXML;

sub parse { XML::LibXML->load_xml(location => $_[0]) }

sub names { join ',', map { $_->nodeName } grep { $_->nodeType == 1 } $_[0]->childNodes }

sub copy_fixture {
    my ($dir, $name) = @_;
    my $path = "$dir/$name";
    File::Copy::copy(fixture($name), $path) or die "copy: $!";
    return $path;
}

subtest 'version list, oldest first' => sub {
    my $r = run_script('vmrver.pl', '-list');
    is($r->{status}, 0, 'exit status 0');
    is($r->{stdout}, "V2005\nV2007\nV2009\n", 'three versions, the current one last');
    my $bad = run_script('vmrver.pl', '-list', 'extra');
    isnt($bad->{status}, 0, 'an extra argument is refused');
    like($bad->{last}, qr/usage/, 'with the usage as reason');
};

subtest 'a document without version is updated from the oldest format' => sub {
    my $dir = File::Temp->newdir;
    my $file = copy_fixture($dir, 'port_v2005.xvm');
    my $original = slurp($file);
    my $r = run_script('vmrver.pl', '-update', $file, '-tover', 'V2009');
    is($r->{status}, 0, 'update succeeds') or diag($r->{stderr});
    is(slurp("$file.V2005.bak"), $original, 'the original is kept byte for byte');

    my $doc = parse($file);
    my $root = $doc->documentElement;
    is($root->getAttribute('Version'), 'V2009', 'current version');
    is($root->getAttribute('type'), 'CCPP', 'Language C became type CCPP');
    is($root->getAttribute('read_only'), 'no', 'ReadOnly false became read_only no');
    is($root->getAttribute('generate_in'), '/opt/targets', 'GenerateIn became generate_in');
    ok(!$root->hasAttribute($_), "no $_ left") for qw(Language ReadOnly GenerateIn);
    is($doc->internalSubset->systemId, 'vmr.dtd', 'the document type names vmr.dtd');
    for my $old (qw(USERFIELD HEADER BODY FOOTER ASCIIFILE)) {
        is($doc->getElementsByTagName($old)->size, 0, "no $old left");
    }

    my ($cross, $board) = $doc->findnodes('//IS_C/ISC/INIFIELD');
    is(names($cross), 'KEY,VALUE,COMMENT', 'user key has KEY, VALUE and COMMENT');
    is($cross->findvalue('KEY'), 'CROSS_PREFIX', 'key text');
    is($cross->findvalue('VALUE'), 'm68k-elf-', 'value text');
    is($cross->findvalue('COMMENT'), 'cross compiler', 'the comment moved along');
    is($cross->getAttribute('Doc'), 'ISOTHERS', 'user keys document as ISOTHERS');
    is($board->getAttribute('Doc'), 'BOARDDOC', 'an existing Doc is kept');

    my ($link) = $doc->findnodes('//LINK/VALUEFCTPERL');
    is(names($link), 'PROTO,VALUE,TAIL', 'missing function parts are created');
    is($doc->findvalue('//COMPILATION/VALUEFCTPERL/VALUE'), '    return 1;', 'BODY became VALUE');
    my ($file_el) = $doc->findnodes('//BUILD/NEWCMDFILE');
    is($file_el->getAttribute('Name'), 'board.cfg', 'ASCIIFILE File became NEWCMDFILE Name');
    is(names($file_el), 'COMMENT,VALUE', 'COMMENT first, VALUE second');
    is($doc->findvalue('//CLOCK/CHOICE/ONGLET/VALUEFCT/PROTO'), 'long clk(void) {',
       'functions inside choices are renamed too');

    # Both steps ran: the second one's changes are there as well.
    is($doc->findvalue('//BINARY_MACRO/@Value'), '1', 'on became 1');
    is($doc->findvalue('//OPTIONAL_MACRO/@Defined'), '0', 'no became 0');
    is($doc->findvalue('//CHOICE/@Value'), 'Custom', 'Selected became Value');
    my ($parser) = $doc->findnodes('/VMR/PARSERCONF');
    is(names($parser), 'COMMENT,PARSERS', 'parser texts are wrapped after the comment');
    is(names($parser->findnodes('PARSERS')->[0]), 'STANDARDA83,PC_EDG', 'in their order');

    # The updated document is one that generation accepts.
    my $targets = "$dir/targets";
    my $gen = run_script('vmrgen.pl', $file, $targets);
    is($gen->{status}, 0, 'the updated document generates') or diag($gen->{stderr});
    is(slurp("$targets/port_v2005/board.cfg"), 'speed=25', 'with its ASCII file');
    like(slurp("$targets/port_v2005/settings.pl"), qr/'CROSS_PREFIX' => 'm68k-elf-'/,
         'and its user key');
};

subtest 'V2007 to V2009' => sub {
    my $dir = File::Temp->newdir;
    my $file = copy_fixture($dir, 'port_v2007.xvm');
    my $original = slurp($file);
    my $r = run_script('vmrver.pl', '-update', $file, '-fromver', 'V2007', '-tover', 'V2009');
    is($r->{status}, 0, 'update succeeds') or diag($r->{stderr});
    is(slurp("$file.V2007.bak"), $original, 'backup named after the old version');
    my $doc = parse($file);
    my $root = $doc->documentElement;
    is($root->getAttribute('Version'), 'V2009', 'current version');
    is($root->getAttribute('read_only'), 'yes', 'ReadOnly true became read_only yes');
    is($root->getAttribute('generate_in'), '/srv/ports', 'generate_in');
    is($doc->findvalue('//RENAMEADA/@Value'), '1', 'RENAMEADA On became 1');
    is($doc->findvalue('//BINARY_MACRO/@Value'), '0', 'BINARY_MACRO off became 0');
    is($doc->findvalue('//OPTIONAL_MACRO/@Defined'), '1', 'OPTIONAL_MACRO yes became 1');
    is($doc->findvalue('//OPTIONAL_MACRO/@Value'), '256', 'the optional value is untouched');
    is($doc->findvalue('//THREADS/CHOICE/@Value'), 'None', 'Selected became Value');
    is($doc->findnodes('//*[@Selected]')->size, 0, 'no Selected left');
    my ($parser) = $doc->findnodes('/VMR/PARSERCONF');
    is(names($parser), 'COMMENT,PARSERS', 'an empty comment is created before the texts');
    is(names($parser->findnodes('PARSERS')->[0]), 'STANDARDA95,PC_ORB', 'texts in order');

    # A second backup never replaces the first.
    File::Copy::copy(fixture('port_v2007.xvm'), $file) or die;
    my $again = run_script('vmrver.pl', '-update', $file, '-tover', 'V2009');
    is($again->{status}, 0, 'second update succeeds');
    ok(-f "$file.V2007.1.bak", 'its backup gets a free name');
    is(slurp("$file.V2007.bak"), $original, 'the first backup is untouched');
};

subtest 'failures leave the document as it was' => sub {
    my $dir = File::Temp->newdir;
    my $v2007 = slurp(fixture('port_v2007.xvm'));
    my @cases = (
        ['missing file', undef, ['-update', "$dir/none.xvm", '-tover', 'V2009'],
         qr/none\.xvm: no such file/],
        ['not well-formed', '<VMR Version="V2007"><IS></VMR>', [], qr/cannot parse .*line \d+/],
        ['unknown version', $v2007 =~ s/V2007/V2011/r, [], qr/unknown version V2011/],
        ['already current', $v2007 =~ s/V2007/V2009/r, [], qr/already of version V2009/],
        ['unknown target', $v2007, ['-tover', 'V1999'], qr/unknown target version V1999/],
        ['target older than the document', $v2007, ['-tover', 'V2005'], qr/later than V2005/],
        ['wrong -fromver', $v2007, ['-fromver', 'V2005'], qr/of version V2007, not V2005/],
        ['not a port description', '<PORT Version="V2007"/>', [], qr/root element is PORT/],
        ['entity declaration',
         qq{<!DOCTYPE VMR [<!ENTITY big "x">]>\n<VMR Version="V2007">&big;</VMR>}, [],
         qr/declares entities/],
        ['unexpected flag value', $v2007 =~ s/Value="off"/Value="maybe"/r, [],
         qr/unexpected Value="maybe" on BINARY_MACRO at line \d+/],
        ['unknown option', $v2007, ['-force', 'x'], qr/unknown option -force/],
    );
    for my $case (@cases) {
        my ($title, $content, $extra, $reason) = @$case;
        my $file = "$dir/doc.xvm";
        unlink glob("$dir/*");
        spew($file, $content) if defined $content;
        my @args = @$extra && $extra->[0] eq '-update' ? @$extra
                 : ('-update', $file, (grep { $_ eq '-tover' } @$extra) ? () : ('-tover', 'V2009'),
                    @$extra);
        my $r = run_script('vmrver.pl', @args);
        isnt($r->{status}, 0, "$title: non-zero exit");
        like($r->{last}, $reason, "$title: reason on the last line");
        if (defined $content) {
            is(slurp($file), $content, "$title: document unchanged");
            is_deeply([glob("$dir/*.bak"), glob("$dir/.doc*")], [], "$title: nothing left over");
        }
    }
    my $none = run_script('vmrver.pl');
    isnt($none->{status}, 0, 'no arguments fail');
    like($none->{last}, qr/usage/, 'with the usage');

    SKIP: {
        skip 'root writes read-only files', 3 if $> == 0;
        my $file = "$dir/locked.xvm";
        spew($file, $v2007);
        chmod 0444, $file;
        my $r = run_script('vmrver.pl', '-update', $file, '-tover', 'V2009');
        isnt($r->{status}, 0, 'a read-only document is refused');
        like($r->{last}, qr/not writable/, 'with the reason');
        is(slurp($file), $v2007, 'and stays unchanged');
    }
};

done_testing;
