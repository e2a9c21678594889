#!/usr/bin/perl
# Export of a port description as text (vmrprint.pl).

use strict;
use warnings;

use File::Copy ();
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;

subtest 'the outline of a rich document' => sub {
    my $dir = File::Temp->newdir;
    File::Copy::copy(fixture('rich.xvm'), "$dir/rich.xvm") or die;
    my $r = run_script('vmrprint.pl', "$dir/rich.xvm", "$dir/rich.txt");
    is($r->{status}, 0, 'exported') or diag($r->{stderr});
    my $text = slurp("$dir/rich.txt");
    utf8::decode($text);
    my @expected = (
        qq~Port "Rich Port" (C++ Rich Port), version V2009~,
        qq~  Comment: A port that uses every part of the vocabulary.~,
        qq~    Table "C settings" (IS_C)~,
        qq~      DEFAULT_DEFINES = -DPORT_NAME=rich -DQUOTE='x'~,
        qq~      CROSS_PREFIX [user key] = arm-none-eabi-~,
        qq~        Comment: toolchain prefix~,
        qq~    Step "Compilation" (COMPILATION)~,
        qq~      Prototype:\n        | sub compile {\n        |     my (\$src, \$obj) = \@_;~,
        qq~      Body:\n        |     return system("cc -c \$src -o \$obj") == 0;~,
        qq~    ASCII file "run.sh"\n      Comment: runner\n      | #!/bin/sh\n      | exec "\$@" # caf\x{e9} <ok>~,
        qq~    Step "Execute" (EXECUTE)\n      (no function)~,
        qq~  Library configuration "Library" (C, LIBCONFC)~,
        qq~      VMR_MAX_THREADS: 16\n        Comment: at most~,
        qq~      VMR_USE_HEAP: on\n      VMR_USE_FLOAT: off~,
        qq~      VMR_BUFSIZE: defined, value "4096"~,
        qq~      VMR_TRACE: undefined (value kept: "stderr")~,
        qq~      Choice "Clock"\n        Clock source: "Custom"\n        Variants: "Standard", "Custom" (with sheets)~,
        qq~        Sheet "Clock settings"\n          VMR_CLOCK_HZ: 1000~,
        qq~      Choice "General IO"\n        Output: "File"~,
        qq~        Sheet "Open" (not used by this variant)~,
        qq~      Function "Private clock"\n        Comment: own clock\n        Prototype:\n          | long priv_clock(void) {~,
        qq~    Text "Before"\n      | #include <stdio.h>~,
        qq~    Group "EDG" (PC_EDG)\n      Text "C options" (PC_EDG/PCOPP)\n        | --c99~,
        qq~    Text "Ada 83 standard" (STANDARDA83)\n      | package Standard is\n      | end Standard;~,
    );
    for my $want (@expected) {
        ok(index($text, "$want\n") >= 0, 'has: ' . (split /\n/, $want)[0])
            or diag("missing:\n$want");
    }
    unlike($text, qr/Ignored|not at this level|ignored Ada library/,
           'elements that the editor does not show are not exported');
    ok(index($text, 'Section "Clocking"') < index($text, 'Section "Input output"'),
       'document order');
};

subtest 'Ada fields and binary files' => sub {
    my $dir = File::Temp->newdir;
    my $libconf = '<LIBCONFA><TYPES Label="Types"><COMMENT/>'
        . '<A><TYPEADA Name="Small"><COMMENT/><VALUE>range 0 .. 7</VALUE></TYPEADA></A>'
        . '<B><CONSTANTADA Name="Max"><COMMENT/><VALUE>8</VALUE></CONSTANTADA></B>'
        . '<C><CONSTANTSTRINGADA Name="Banner"><COMMENT/><VALUE>hi</VALUE></CONSTANTSTRINGADA></C>'
        . '<D><RENAMEADA Name="Io" Value="1"><COMMENT/></RENAMEADA></D></TYPES></LIBCONFA>';
    my $build = '<NEWBINFILE Name="lib.a"><COMMENT>archive</COMMENT><ENCODED_FILE Size="1234"/></NEWBINFILE>';
    spew("$dir/a.xvm", port_doc(type => 'ADA', libconf => $libconf, build => $build));
    my $r = run_script('vmrprint.pl', "$dir/a.xvm", "$dir/a.txt");
    is($r->{status}, 0, 'exported') or diag($r->{stderr});
    my $text = slurp("$dir/a.txt");
    for my $want ('type Small: range 0 .. 7', 'constant Max: 8', 'string constant Banner: hi',
                  'renaming Io: on', qq{Binary file "lib.a" (1234 bytes)\n      Comment: archive}) {
        like($text, qr/^ *\Q$want\E$/m, "has: " . (split /\n/, $want)[0]);
    }
};

subtest 'the output file is replaced whole or not at all' => sub {
    my $dir = File::Temp->newdir;
    spew("$dir/out.txt", 'previous export');
    spew("$dir/bad.xvm", '<VMR Name="x"><IS>');
    my $r = run_script('vmrprint.pl', "$dir/bad.xvm", "$dir/out.txt");
    isnt($r->{status}, 0, 'an unparseable document fails');
    like($r->{last}, qr/cannot parse \S*bad\.xvm, line \d+/, 'with the position');
    is(slurp("$dir/out.txt"), 'previous export', 'the previous export is kept');

    spew("$dir/good.xvm", port_doc(name => 'Good'));
    $r = run_script('vmrprint.pl', "$dir/good.xvm", "$dir/out.txt");
    is($r->{status}, 0, 'a good document exports');
    like(slurp("$dir/out.txt"), qr/\APort "Good" \(C\+\+ Good\)/, 'over the previous export');
    opendir(my $dh, "$dir") or die;
    is_deeply([sort grep { !/^\.\.?$/ } readdir $dh], [qw(bad.xvm good.xvm out.txt)],
              'no temporary file left');

    $r = run_script('vmrprint.pl', "$dir/good.xvm", "$dir/good.xvm");
    isnt($r->{status}, 0, 'exporting over the document itself is refused');
    like($r->{last}, qr/is the document itself/, 'with the reason');
    like(slurp("$dir/good.xvm"), qr/<VMR/, 'the document is intact');

    $r = run_script('vmrprint.pl', "$dir/good.xvm", "$dir/no/such/dir/out.txt");
    like($r->{last}, qr/directory \S+ does not exist/, 'a missing directory is reported');
    $r = run_script('vmrprint.pl', "$dir/missing.xvm", "$dir/out2.txt");
    like($r->{last}, qr/missing\.xvm: no such file/, 'a missing document is reported');
    ok(!-e "$dir/out2.txt", 'and nothing is written');
    $r = run_script('vmrprint.pl', "$dir/good.xvm");
    like($r->{last}, qr/usage: vmrprint\.pl DOC OUT/, 'one argument is refused');
};

done_testing;
