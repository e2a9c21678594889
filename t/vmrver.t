#!/usr/bin/perl
# Version list and document updates (vmrver.pl).
use strict;
use warnings;
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;
use XML::LibXML;

# Updates a copy of a fixture of version $old and checks XPath expressions against values.
sub update_is {
    my ($dir, $fixture, $old, $args, %want) = @_;
    spew(my $file = "$dir/$fixture", slurp(fixture($fixture)));
    my $r = run_script('vmrver.pl', '-update', $file, @$args, '-tover', 'V2009');
    is($r->{status}, 0, "$fixture updated") or diag($r->{stderr});
    is(slurp("$file.$old.bak"), slurp(fixture($fixture)), 'the original is kept whole');
    my $doc = XML::LibXML->load_xml(location => $file);
    is($doc->findvalue($_), $want{$_}, "$_ = $want{$_}") for sort keys %want;
    return $file;
}

is(run_script('vmrver.pl', '-list')->{stdout}, "V2005\nV2007\nV2009\n", 'versions, oldest first');
like(run_script('vmrver.pl', @$_)->{last}, qr/usage/, "usage for: @$_") for [], ['-list', 'extra'];

subtest 'a document without version is updated from the oldest format' => sub {
    my $dir = File::Temp->newdir;
    my $file = update_is($dir, 'port_v2005.xvm', 'V2005', [], 'concat(/VMR/@Version, /VMR/@type, /VMR/@read_only)' => 'V2009CCPPno',
        '/VMR/@generate_in' => '/opt/targets', 'count(/VMR/@Language | /VMR/@ReadOnly | //USERFIELD | //HEADER | //BODY | //FOOTER | //ASCIIFILE)' => 0,
        'string(//INIFIELD[1])' => 'CROSS_PREFIXm68k-elf-cross compiler', 'concat(//INIFIELD[1]/@Doc, //INIFIELD[2]/@Doc)' => 'ISOTHERSBOARDDOC',
        'count(//LINK/VALUEFCTPERL/*[3][self::TAIL])' => 1, '//COMPILATION//VALUE' => '    return 1;',
        'concat(//NEWCMDFILE/@Name, "=", //NEWCMDFILE/*[2])' => 'board.cfg=speed=25', '//CLOCK/CHOICE/ONGLET/VALUEFCT/PROTO' => 'long clk(void) {',
        'concat(//BINARY_MACRO/@Value, //OPTIONAL_MACRO/@Defined, //CHOICE/@Value)' => '10Custom',
        'concat(name(/VMR/PARSERCONF/*[2]), name(//PARSERS/*[1]))' => 'PARSERSSTANDARDA83');
    my $gen = run_script('vmrgen.pl', $file, "$dir/targets");
    is($gen->{status}, 0, 'generation accepts the result') or diag($gen->{stderr});
    like(slurp("$dir/targets/port_v2005/settings.pl"), qr/'CROSS_PREFIX' => 'm68k-elf-'/, '  with its keys');
};

subtest 'V2007 to V2009, three times over: every update keeps its own backup' => sub {
    my $dir = File::Temp->newdir;
    my $file = update_is($dir, 'port_v2007.xvm', 'V2007', ['-fromver', 'V2007'], 'concat(/VMR/@read_only, /VMR/@generate_in)' => 'yes/srv/ports',
        'concat(//RENAMEADA/@Value, //BINARY_MACRO/@Value, //OPTIONAL_MACRO/@Defined, //OPTIONAL_MACRO/@Value)' => '101256',
        'concat(//THREADS/CHOICE/@Value, count(//*[@Selected]), name(/VMR/PARSERCONF/*[1]), name(//PARSERS/*[2]))' => 'None0COMMENTPC_ORB');
    # The old document comes back twice, different each time. A link that points nowhere
    # holds the third free name: it is passed over, never written through.
    symlink("$dir/elsewhere", "$file.V2007.2.bak") or die;
    my @originals = (slurp(fixture('port_v2007.xvm')));
    for my $n (1, 2) {
        spew($file, my $old = $originals[0] =~ s/<VMR /<VMR Rev="$n" /r);
        push @originals, $old;
        my $r = run_script('vmrver.pl', '-update', $file, '-tover', 'V2009');
        is($r->{status}, 0, "update $n again") or diag($r->{stderr});
        like($r->{stdout}, qr/kept in port_v2007\.xvm\.V2007\.(1|3)\.bak$/, '  names its backup');
    }
    is_deeply([map { -f $_ ? slurp($_) : 'missing' } map {"$file.V2007$_.bak"} '', '.1', '.3'], \@originals,
              'each backup holds the document as it was before its own update');
    ok(-l "$file.V2007.2.bak" && !-e "$dir/elsewhere", 'the link is left alone');

    # Through a link the document is updated where it lies, and the link stays.
    mkdir "$dir/real";
    spew("$dir/real/doc.xvm", $originals[0]);
    symlink("$dir/real/doc.xvm", "$dir/link.xvm") or die;
    my $r = run_script('vmrver.pl', '-update', "$dir/link.xvm");
    like($r->{stdout}, qr{kept in \S+/real/doc\.xvm\.V2007\.bak$}, 'a linked document is updated') or diag($r->{stderr});
    ok(-l "$dir/link.xvm" && slurp("$dir/real/doc.xvm") =~ /Version="V2009"/ && slurp("$dir/real/doc.xvm.V2007.bak") eq $originals[0],
       '  where it lies, its backup beside it; the link stays');
};

subtest 'failures leave the document as it was' => sub {
    my $dir = File::Temp->newdir;
    my $v2007 = slurp(fixture('port_v2007.xvm'));
    for my $case (['<VMR Version="V2007"><IS></VMR>', [], qr/cannot parse .*line \d+/], [undef, [], qr/doc\.xvm: no such file/],
        [$v2007 =~ s/V2007/V2011/r, [], qr/unknown version V2011/], [$v2007 =~ s/V2007/V2009/r, [], qr/already of version V2009/],
        [$v2007, ['-tover', 'V1999'], qr/unknown target version V1999/], [$v2007, ['-tover', 'V2005'], qr/later than V2005/],
        [$v2007, ['-fromver', 'V2005'], qr/of version V2007, not V2005/], ['<PORT Version="V2007"/>', [], qr/root element is PORT/],
        [qq{<!DOCTYPE VMR [<!ENTITY big "x">]>\n<VMR Version="V2007">&big;</VMR>}, [], qr/declares entities/],
        [$v2007 =~ s/Value="off"/Value="maybe"/r, [], qr/unexpected Value="maybe" on BINARY_MACRO at line \d+/],
        [$v2007, ['-force', 'x'], qr/unknown option -force/]) {
        my ($content, $extra, $reason) = @$case;
        unlink glob("$dir/*"), glob("$dir/.doc*");
        spew("$dir/doc.xvm", $content) if defined $content;
        my @tover = grep({ $_ eq '-tover' } @$extra) ? () : ('-tover', 'V2009');
        my $r = run_script('vmrver.pl', '-update', "$dir/doc.xvm", @tover, @$extra);
        ok($r->{status} && $r->{last} =~ $reason, "refused: $reason") or diag($r->{stderr});
        is(join('|', map { -e $_ ? slurp($_) : () } glob("$dir/*"), glob("$dir/.doc*")), $content // '',
           '  the document unchanged, nothing left over');
    }
};

done_testing;
